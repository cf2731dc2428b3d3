#include "InPlaceEdit.h"

#include <QKeyEvent>

#include "UiMessages.h"

namespace rix {

CInPlaceEdit::CInPlaceEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAccessibleName(QStringLiteral("Edit"));
    setObjectName(QStringLiteral("Edit"));
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        if (parentWidget() != nullptr)
            SendMessageTo(parentWidget(), MSG_EDIT_END, 0, 0);
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace rix
