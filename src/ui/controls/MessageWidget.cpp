#include "MessageWidget.h"

#include <QCoreApplication>

namespace rix {

CMessageWidget::CMessageWidget(QWidget* parent)
    : QWidget(parent)
{
}

void CMessageWidget::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    PostMessageTo(this, message, wParam, lParam);
}

intptr_t CMessageWidget::OnMessage(uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

bool CMessageWidget::event(QEvent* event)
{
    if (event->type() == CMessageEvent::EventType()) {
        const auto* message = static_cast<CMessageEvent*>(event);
        OnMessage(message->Message(), message->WParam(), message->LParam());
        return true;
    }
    return QWidget::event(event);
}

intptr_t SendMessageTo(QObject* target, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (auto* widget = qobject_cast<CMessageWidget*>(target))
        return widget->OnMessage(message, wParam, lParam);
    // Any other receiver still sees the event, synchronously.
    CMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return 0;
}

} // namespace rix
