#include "UiMessages.h"

#include <QCoreApplication>

namespace rix {

QEvent::Type CMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CMessageEvent::CMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
    : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam)
{
}

void PostMessageTo(QObject* target, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    // postEvent is thread-safe and takes the event; Qt deletes it unsent
    // when the receiver is destroyed first.
    QCoreApplication::postEvent(target, new CMessageEvent(message, wParam, lParam));
}

} // namespace rix
