#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

#include "EditStep.h"
#include "IMessageTarget.h"

namespace rix {

// Messages between the editor's windows, after the controller's 0x400..0x402
// (IMessageTarget.h). lParam is the sending control unless said otherwise.
// Sent (synchronously) by CInPlaceEdit on Enter or Escape; no parameters.
constexpr uint32_t MSG_EDIT_END = 0x403;
// Posted by CSpinWnd while its upper or lower half is held.
constexpr uint32_t MSG_SPIN_UP = 0x404;
constexpr uint32_t MSG_SPIN_DOWN = 0x405;
// Posted by CVolumeBarWnd when a click or drag changes its value.
constexpr uint32_t MSG_VOLUME_BAR = 0x406;
// wParam of the spin and volume bar messages: GESTURE_CONTINUES when the
// message follows an earlier one of the same press (a repeat, a drag), so
// that a whole press is one undo step.
constexpr uintptr_t GESTURE_STARTS = 0;
constexpr uintptr_t GESTURE_CONTINUES = 1;
inline TEditStep StepOf(uintptr_t wParam)
{
    return wParam == GESTURE_CONTINUES ? TEditStep::Continue : TEditStep::New;
}
// Posted by the WAV export: progress (wParam = percent) and the end.
constexpr uint32_t MSG_WAV_PROGRESS = 0x407;
constexpr uint32_t MSG_WAV_DONE = 0x408;

// A window message as a Qt event: (message, wParam, lParam).
class CMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();

    CMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam);

    uint32_t Message() const { return message; }
    uintptr_t WParam() const { return wParam; }
    intptr_t LParam() const { return lParam; }

private:
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Queues the message for target's thread and returns at once; callable from
// any thread. target must exist during the call; a message still queued
// when it is destroyed is dropped.
void PostMessageTo(QObject* target, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Delivers the message now and returns what the receiver's OnMessage
// returned (0 when target is not a CMessageWidget). UI thread only.
intptr_t SendMessageTo(QObject* target, uint32_t message, uintptr_t wParam, intptr_t lParam);

} // namespace rix
