#include "desktop/message_bridge.h"

#include <QThread>

namespace ravo::desktop {

MessageBridge::MessageBridge(MessageReceiver& target, QObject* parent) : QObject(parent), target_(target) {}

intptr_t MessageBridge::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (QThread::currentThread() == thread())
        return target_.sendMessage(message, wParam, lParam);
    intptr_t result = 0;
    QMetaObject::invokeMethod(
        this, [&] { result = target_.sendMessage(message, wParam, lParam); }, Qt::BlockingQueuedConnection);
    return result;
}

}  // namespace ravo::desktop
