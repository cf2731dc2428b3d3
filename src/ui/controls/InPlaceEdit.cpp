#include "InPlaceEdit.h"

#include <QKeyEvent>

#include "UiMessages.h"

namespace rix {
namespace {

bool EndsEdit(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter || event.key() == Qt::Key_Escape;
}

} // namespace

CInPlaceEdit::CInPlaceEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAccessibleName(QStringLiteral("Edit"));
    setObjectName(QStringLiteral("Edit"));
}

bool CInPlaceEdit::event(QEvent* event)
{
    // Enter and Escape belong to the edit even where a window shortcut or a
    // dialog's default button would take them.
    if (event->type() == QEvent::ShortcutOverride && EndsEdit(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (!EndsEdit(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (parentWidget() != nullptr)
        SendMessageTo(parentWidget(), MSG_EDIT_END, 0, 0);
}

} // namespace rix
