#pragma once
#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <memory>

#include "firmware/update_manifest.h"

class QWidget;

namespace ravo {
class CRavo_ConfigApp;
}

namespace ravo::desktop {

// The start-up update check: the manifest is fetched on the thread pool
// (QtConcurrent) so the window keeps painting; back on the UI thread it
// becomes the application's manifest (its service code included) and, when
// it names a newer version, the upgrade notice is shown. A window that closes
// gives the check up: the fetch stops soon and nothing is shown.
class UpdateCheckRunner : public QObject {
    Q_OBJECT
public:
    UpdateCheckRunner(CRavo_ConfigApp& app, QWidget* window);
    ~UpdateCheckRunner() override;  // gives up a fetch still running, without waiting for it

    void start();
    void abandon();
    bool running() const { return watcher_.isRunning(); }

signals:
    void finished(bool noticeShown);

private:
    struct Fetched {
        bool ok = false;
        UpdateManifest manifest;
    };
    void fetched();

    CRavo_ConfigApp& app_;
    QWidget* window_;
    QFutureWatcher<Fetched> watcher_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    bool abandoned_ = false;
};

}  // namespace ravo::desktop
