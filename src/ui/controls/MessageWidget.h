#pragma once

#include <QWidget>
#include <cstdint>

#include "IMessageTarget.h"
#include "UiMessages.h"

namespace rix {

// A widget that receives window messages: IMessageTarget::PostMessage posts
// to itself (any thread), and the message is handled on the UI thread by
// OnMessage, like the messages of PostMessageTo and SendMessageTo.
class CMessageWidget : public QWidget, public IMessageTarget {
    Q_OBJECT
public:
    explicit CMessageWidget(QWidget* parent = nullptr);

    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    // UI thread. Returns 0 unless a subclass has an answer.
    virtual intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool event(QEvent* event) override;

private:
    friend intptr_t SendMessageTo(QObject*, uint32_t, uintptr_t, intptr_t);
};

} // namespace rix
