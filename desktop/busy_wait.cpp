#include "desktop/busy_wait.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>
#include <atomic>
#include <thread>

namespace ravo::desktop {

namespace {
bool waiting = false;
}

bool busyWaiting()
{
    return waiting;
}

bool runWhileRepainting(QWidget* window, const std::function<void()>& work)
{
    if (waiting)
        return false;
    waiting = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool wasEnabled = window && window->isEnabled();
    // Disabled, the window still paints but takes no clicks or keys.
    if (window)
        window->setEnabled(false);

    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread helper([&] {
        work();
        done = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    helper.join();

    if (window)
        window->setEnabled(wasEnabled);
    QApplication::restoreOverrideCursor();
    waiting = false;
    return true;
}

}  // namespace ravo::desktop
