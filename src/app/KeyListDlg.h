#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QLineEdit;
class QTableWidget;

namespace rix {

// Help > Keys and Mouse: every key and mouse gesture of every window
// (CKeyList), in a table that a filter box narrows to the lines holding
// its text in any column. Not modal, so that a key can be tried while it
// shows. UI thread.
class CKeyListDlg : public QDialog {
    Q_OBJECT

public:
    // commands: the menus' actions, whose shortcuts are listed.
    CKeyListDlg(QWidget* parent, const QList<QAction*>& commands);

    QLineEdit& Filter() const { return *filter; }
    // The lines the filter leaves, as "window | keys | action".
    QStringList ShownLines() const;

private:
    void ApplyFilter(const QString& text);

    QLineEdit* filter;
    QTableWidget* table;
};

} // namespace rix
