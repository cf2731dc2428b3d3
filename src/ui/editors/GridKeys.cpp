#include "GridKeys.h"

#include <QKeyEvent>

namespace rix {

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
using C = TGridCommand;

constexpr TGridKey kSharedKeys[] = {
    {Qt::Key_Left, kNone, nullptr, C::ChannelLeft, 0, "Cursor one channel left"},
    {Qt::Key_Right, kNone, nullptr, C::ChannelRight, 0, "Cursor one channel right"},
    {Qt::Key_Left, kShift, nullptr, C::ChannelLeft, kExtendSelection, "Extend the selection one channel left"},
    {Qt::Key_Right, kShift, nullptr, C::ChannelRight, kExtendSelection, "Extend the selection one channel right"},
    {Qt::Key_A, kCtrl, nullptr, C::SelectAll, 0, "Select all"},
    {Qt::Key_Return, kNone, nullptr, C::PlaySong, 0, "Play the song from the order position, or stop"},
    {Qt::Key_Return, kShift, nullptr, C::PlayFromCursor, 0, "Play the song from the cursor's row, or stop"},
    {Qt::Key_Return, kCtrl, nullptr, C::PlayLoop, 0, "Loop the order position, or stop"},
    {Qt::Key_Tab, kNone, nullptr, C::OtherGrid, 0, "Switch between the order table and the pattern editor"},
    {Qt::Key_Delete, kNone, nullptr, C::Delete, 0, "Empty the cursor cell and move down, or clear the selection"},
    {Qt::Key_Insert, kNone, nullptr, C::Insert, 0, "Insert a cell in the channel, moving those below down"},
    {Qt::Key_Insert, kShift, nullptr, C::InsertAll, 0, "Insert a row in all channels"},
    {Qt::Key_Backspace, kNone, nullptr, C::Backspace, 0, "Delete the cell above in the channel"},
    {Qt::Key_Backspace, kShift, nullptr, C::BackspaceAll, 0, "Delete the row above in all channels"},
    {0, kNone, "+", C::PatternUp, 0, "Next pattern number in the order table"},
    {0, kNone, "-", C::PatternDown, 0, "Previous pattern number in the order table"},
};

constexpr TGridKey kPatternKeys[] = {
    {Qt::Key_Up, kNone, nullptr, C::RowUp, 0, "Cursor one row up"},
    {Qt::Key_Down, kNone, nullptr, C::RowDown, 0, "Cursor one row down"},
    {Qt::Key_Up, kShift, nullptr, C::RowUp, kExtendSelection, "Extend the selection one row up"},
    {Qt::Key_Down, kShift, nullptr, C::RowDown, kExtendSelection, "Extend the selection one row down"},
    {Qt::Key_PageUp, kShift, nullptr, C::FirstRow, kExtendSelection, "Extend the selection to the first row"},
    {Qt::Key_PageDown, kShift, nullptr, C::LastRow, kExtendSelection, "Extend the selection to the last row"},
    {Qt::Key_Up, kCtrl, nullptr, C::PreviousOrder, 0, "Previous order position"},
    {Qt::Key_Down, kCtrl, nullptr, C::NextOrder, 0, "Next order position"},
    {Qt::Key_PageUp, kNone, nullptr, C::FirstRow, 0, "Cursor to the first row"},
    {Qt::Key_Home, kNone, nullptr, C::FirstRow, 0, "Cursor to the first row"},
    {Qt::Key_PageDown, kNone, nullptr, C::LastRow, 0, "Cursor to the last row"},
    {Qt::Key_End, kNone, nullptr, C::LastRow, 0, "Cursor to the last row"},
    {Qt::Key_F1, kNone, nullptr, C::Octave, 1, "Octave 1 for the note keys"},
    {Qt::Key_F2, kNone, nullptr, C::Octave, 2, "Octave 2 for the note keys"},
    {Qt::Key_F3, kNone, nullptr, C::Octave, 3, "Octave 3 for the note keys"},
    {Qt::Key_F4, kNone, nullptr, C::Octave, 4, "Octave 4 for the note keys"},
    {Qt::Key_F5, kNone, nullptr, C::Octave, 5, "Octave 5 for the note keys"},
    {Qt::Key_F6, kNone, nullptr, C::Octave, 6, "Octave 6 for the note keys"},
    {Qt::Key_F7, kNone, nullptr, C::Octave, 7, "Octave 7 for the note keys"},
    {Qt::Key_F8, kNone, nullptr, C::Octave, 8, "Octave 8 for the note keys"},
};

constexpr TGridKey kOrderTableKeys[] = {
    {Qt::Key_Up, kNone, nullptr, C::RowUp, 0, "Cursor one position up"},
    {Qt::Key_Down, kNone, nullptr, C::RowDown, 0, "Cursor one position down"},
    {Qt::Key_Up, kShift, nullptr, C::RowUp, kExtendSelection, "Extend the selection one position up"},
    {Qt::Key_Down, kShift, nullptr, C::RowDown, kExtendSelection, "Extend the selection one position down"},
    {Qt::Key_PageUp, kShift, nullptr, C::PageUp, kExtendSelection, "Extend the selection 16 positions up"},
    {Qt::Key_PageDown, kShift, nullptr, C::PageDown, kExtendSelection, "Extend the selection 16 positions down"},
    {Qt::Key_PageUp, kNone, nullptr, C::PageUp, 0, "Cursor 16 positions up"},
    {Qt::Key_PageDown, kNone, nullptr, C::PageDown, 0, "Cursor 16 positions down"},
    {Qt::Key_Home, kNone, nullptr, C::FirstRow, 0, "Cursor to the first position"},
    {Qt::Key_End, kNone, nullptr, C::LastRow, 0, "Cursor to the song's last position"},
    {0, kNone, "0123456789ABCDEFabcdef", C::TypePattern, 0, "Type the pattern number and move down"},
};

} // namespace

std::span<const TGridKey> PatternKeys()
{
    return kPatternKeys;
}

std::span<const TGridKey> OrderTableKeys()
{
    return kOrderTableKeys;
}

std::span<const TGridKey> SharedGridKeys()
{
    return kSharedKeys;
}

const TGridKey* FindGridKey(std::span<const TGridKey> table, const QKeyEvent& event)
{
    const Qt::KeyboardModifiers held =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event.key() == Qt::Key_Enter ? int(Qt::Key_Return) : event.key();
    const QString text = event.text();
    const bool typed = text.size() == 1 && !(held & (Qt::ControlModifier | Qt::AltModifier));
    for (const TGridKey& binding : table) {
        if (binding.characters ? typed && QString::fromLatin1(binding.characters).contains(text[0])
                               : binding.key == key && binding.modifiers == held)
            return &binding;
    }
    return nullptr;
}

} // namespace rix
