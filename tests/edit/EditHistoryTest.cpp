// The undo history as the edit layer keeps it: gestures, depth and redo.
#include "ArrangementEditor.h"
#include "EditTestSupport.h"

namespace rix {
namespace {

using EditHistory = edittest::CEditFixture;

int32_t Volume(const CRixModuleData& song)
{
    return song.channels[3].volume;
}

// A press and its drag moves are one step (none when the drag ends where
// it began); the next press starts another, and so does a drag move after
// the gesture was cut by an undo or by another edit.
TEST_F(EditHistory, AGestureIsOneStep)
{
    const auto drag = [this](std::initializer_list<int32_t> volumes) {
        TEditStep step = TEditStep::New;
        for (int32_t volume : volumes)
            editor->SetChannelVolume(3, volume, std::exchange(step, TEditStep::Continue));
    };
    drag({100, 120, 140, 160});  // the press changes nothing: the moves make the step
    drag({50, 40});
    editor->SetMasterVolume(7);
    editor->SetChannelVolume(3, 30, TEditStep::Continue);
    EXPECT_EQ(Volume(Song()), 30);
    const int32_t expected[] = {40, 40, 160, 100};  // after each undo
    for (int32_t volume : expected) {
        editor->Undo();
        EXPECT_EQ(Volume(Song()), volume);
    }
    EXPECT_FALSE(editor->CanUndo());
    editor->Redo();
    editor->SetChannelVolume(3, 90, TEditStep::Continue);
    EXPECT_FALSE(editor->CanRedo()) << "an edit drops what could be redone";
    editor->Undo();
    EXPECT_EQ(Volume(Song()), 160);

    // A drag back to where it began leaves nothing to undo.
    drag({170, 160});
    EXPECT_EQ(editor->UndoCount(), 1u);
}

TEST_F(EditHistory, KeepsTheNewest256Steps)
{
    for (uint32_t edit = 0; edit < 300; ++edit)
        editor->Arrangement().SetOrderEntry(int32_t(edit % 8), int32_t(edit / 8), 1 + edit % 15);
    int undos = 0;
    for (; editor->CanUndo(); ++undos)
        editor->Undo();
    EXPECT_EQ(undos, 256);
    const CRixModuleData song = Song();
    EXPECT_EQ(song.orderTable[43 % 8][43 / 8], 1 + 43u % 15);
    EXPECT_EQ(song.orderTable[44 % 8][44 / 8], 0u);
}

} // namespace
} // namespace rix
