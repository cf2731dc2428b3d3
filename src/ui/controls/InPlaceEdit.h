#pragma once

#include <QLineEdit>

namespace rix {

// A line edit that ends an in-place edit: Enter and Escape are swallowed and
// MSG_EDIT_END (no parameters) is sent synchronously to the parent widget,
// which reads or discards the text. Every other key edits as usual.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CInPlaceEdit(QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace rix
