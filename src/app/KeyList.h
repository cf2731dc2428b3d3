#pragma once

#include <QList>
#include <QString>
#include <Qt>
#include <vector>

class QAction;

namespace rix {

struct TGridKey;

// One line of Help > Keys and Mouse: where, which key or gesture, what it
// does.
struct TKeyListRow {
    QString window;
    QString keys;
    QString action;
};

// The list of every key and mouse gesture, made from the tables the
// windows run them from: the commands' shortcuts (the menus' actions), the
// grids' key tables, the note keys and the mouse gestures. So it cannot say
// other than what the keys do.
class CKeyList {
public:
    static std::vector<TKeyListRow> Rows(const QList<QAction*>& commands);
    // A key with modifiers as the list and the tooltips name it
    // ("Shift+Enter").
    static QString KeyName(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The key or the characters of a grid key.
    static QString KeysOf(const TGridKey& binding);
    // A command's name ("Save As"), without the dots of one that asks first.
    static QString CommandName(const QAction& command);
    // A command's keys ("Ctrl+Y, Ctrl+Shift+Z"), empty when it has none.
    static QString CommandKeys(const QAction& command);
};

} // namespace rix
