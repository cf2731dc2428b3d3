#include "InPlaceEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include "MouseGestures.h"
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
    setToolTip(CMouseGestures::Tip(TMouseArea::InPlaceEdit));
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

void CInPlaceEdit::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    // Shown before it takes the focus: whoever has it now gets it back.
    QWidget* focus = QApplication::focusWidget();
    if (focus != this)
        returnFocus = focus;
}

void CInPlaceEdit::hideEvent(QHideEvent* event)
{
    // Qt would move the focus to the next widget in the window's chain right
    // after this event; a focus already elsewhere (a click away) stays there.
    if (hasFocus() && returnFocus && returnFocus->isVisible() && returnFocus->isEnabled() &&
        returnFocus->window() == window())
        returnFocus->setFocus(Qt::OtherFocusReason);
    returnFocus = nullptr;
    QLineEdit::hideEvent(event);
}

} // namespace rix
