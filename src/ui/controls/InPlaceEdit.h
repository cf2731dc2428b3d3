#pragma once

#include <QLineEdit>
#include <QPointer>

namespace rix {

// A line edit that ends an in-place edit: Enter and Escape are swallowed and
// MSG_EDIT_END (no parameters) is sent synchronously to the parent widget,
// which reads or discards the text. Every other key edits as usual. Hidden
// while it has the focus, it hands the focus back to the widget that had it
// when the edit was shown (typing goes on where it was, not in the first
// editor of the window).
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CInPlaceEdit(QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> returnFocus;
};

} // namespace rix
