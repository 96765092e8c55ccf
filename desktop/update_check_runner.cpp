#include "desktop/update_check_runner.h"

#include <QtConcurrent/QtConcurrentRun>

#include "app/ravo_config_app.h"
#include "desktop/dialogs/software_upgrade_dlg.h"
#include "firmware/upgrade_check.h"

namespace ravo::desktop {

UpdateCheckRunner::UpdateCheckRunner(CRavo_ConfigApp& app, QWidget* window) : app_(app), window_(window)
{
    connect(&watcher_, &QFutureWatcher<Fetched>::finished, this, &UpdateCheckRunner::fetched);
}

UpdateCheckRunner::~UpdateCheckRunner()
{
    abandon();
}

void UpdateCheckRunner::start()
{
    if (watcher_.isRunning() || abandoned_)
        return;
    const std::string url = app_.config.updateUrl;
    const std::shared_ptr<std::atomic<bool>> cancel = cancel_;
    watcher_.setFuture(QtConcurrent::run([url, cancel] {
        Fetched result;
        result.ok = FetchManifest(result.manifest, url, nullptr, kManifestTimeoutMs, cancel.get());
        return result;
    }));
}

void UpdateCheckRunner::abandon()
{
    abandoned_ = true;
    cancel_->store(true);
    watcher_.disconnect(this);
}

void UpdateCheckRunner::fetched()
{
    if (abandoned_)
        return;
    const Fetched result = watcher_.result();
    bool shown = false;
    if (result.ok && app_.manifest) {
        app_.manifest->entries = result.manifest.entries;
        if (IsNewer(*app_.manifest)) {
            CSoftwareUpgradeDlg notice(app_.manifest->downloadLocation(), window_);
            notice.exec();
            shown = true;
        }
    }
    emit finished(shown);
}

}  // namespace ravo::desktop
