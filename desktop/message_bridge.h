#pragma once
#include <QObject>

#include "link/messages.h"

namespace ravo::desktop {

// The one place that knows about threads: the worker's synchronous messages
// become calls on the UI thread. From another thread the sender blocks until
// the UI thread has handled the message (so pointers it passes stay valid);
// on the UI thread the call is direct, as a queued call into the same thread
// would never return.
class MessageBridge : public QObject, public MessageReceiver {
    Q_OBJECT
public:
    explicit MessageBridge(MessageReceiver& target, QObject* parent = nullptr);

    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

private:
    MessageReceiver& target_;
};

}  // namespace ravo::desktop
