#include "KeyList.h"

#include <QAction>
#include <QKeySequence>
#include <QStringList>

#include "GridKeys.h"
#include "MouseGestures.h"
#include "NoteKeys.h"

namespace rix {

namespace {

void AddGridKeys(std::vector<TKeyListRow>& rows, const QString& window, std::span<const TGridKey> table)
{
    for (const TGridKey& binding : table)
        rows.push_back({window, CKeyList::KeysOf(binding), QString::fromLatin1(binding.description)});
}

// The note keys in three lines: the lower row, the upper row an octave
// higher, the note stop.
void AddNoteKeys(std::vector<TKeyListRow>& rows, const QString& window)
{
    QStringList lower, upper, stop;
    for (const CNoteKeys::TNoteKey& key : CNoteKeys::Keys()) {
        QStringList& line = key.offset == CNoteKeys::STOP_NOTE ? stop : key.offset <= 12 ? lower : upper;
        line << CKeyList::KeyName(key.qtKey);
    }
    rows.push_back({window, lower.join(QLatin1Char(' ')), QStringLiteral("Notes C to B of the octave (F1..F8)")});
    rows.push_back({window, upper.join(QLatin1Char(' ')), QStringLiteral("Notes an octave higher, C to E")});
    rows.push_back({window, stop.join(QStringLiteral(", ")), QStringLiteral("Note stop")});
}

} // namespace

QString CKeyList::KeyName(int key, Qt::KeyboardModifiers modifiers)
{
    QString name = QKeySequence(QKeyCombination(modifiers, Qt::Key(key))).toString(QKeySequence::NativeText);
    // The names the keys carry on a keyboard.
    for (const auto& [qtName, keyName] : {std::pair{"Return", "Enter"}, {"CapsLock", "Caps Lock"},
                                          {"ScrollLock", "Scroll Lock"}, {"PgDown", "PgDn"}})
        name.replace(QLatin1String(qtName), QLatin1String(keyName));
    return name;
}

QString CKeyList::KeysOf(const TGridKey& binding)
{
    if (!binding.characters)
        return KeyName(binding.key, binding.modifiers);
    QStringList characters;
    for (const QChar character : QString::fromLatin1(binding.characters).toUpper())
        if (!characters.contains(character))
            characters << character;
    return characters.join(QLatin1Char(' '));
}

QString CKeyList::CommandName(const QAction& command)
{
    return command.objectName().remove(QStringLiteral("..."));
}

QString CKeyList::CommandKeys(const QAction& command)
{
    QStringList keys;
    for (const QKeySequence& shortcut : command.shortcuts())
        keys << KeyName(shortcut[0].key(), shortcut[0].keyboardModifiers());
    return keys.join(QStringLiteral(", "));
}

std::vector<TKeyListRow> CKeyList::Rows(const QList<QAction*>& commands)
{
    std::vector<TKeyListRow> rows;
    const QString mainWindow = QStringLiteral("Main window");
    for (const QAction* command : commands)
        if (const QString keys = CommandKeys(*command); !keys.isEmpty())
            rows.push_back({mainWindow, keys, CommandName(*command)});
    const QString pattern = CMouseGestures::AreaName(TMouseArea::Pattern);
    const QString orderTable = CMouseGestures::AreaName(TMouseArea::OrderTable);
    AddNoteKeys(rows, pattern);
    AddGridKeys(rows, pattern, PatternKeys());
    AddGridKeys(rows, pattern, SharedGridKeys());
    AddGridKeys(rows, orderTable, OrderTableKeys());
    AddGridKeys(rows, orderTable, SharedGridKeys());
    for (const TMouseGesture& gesture : CMouseGestures::All())
        rows.push_back({CMouseGestures::AreaName(gesture.area), QString::fromLatin1(gesture.gesture),
                        QString::fromLatin1(gesture.action)});
    return rows;
}

} // namespace rix
