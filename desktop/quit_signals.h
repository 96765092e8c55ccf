#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ravo::desktop {

// SIGTERM and SIGHUP (a log-out, a shutdown, `kill`, a closed terminal)
// become a call of `quit` on the UI thread, like a close without a question:
// the signal handler only writes a byte that the event loop reads. One at a
// time; the handlers go back to the default when it is destroyed.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void()> quit, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void()> quit_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ravo::desktop
