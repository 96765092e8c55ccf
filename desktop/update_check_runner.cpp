#include "desktop/update_check_runner.h"

#include "app/ravo_config_app.h"
#include "desktop/dialogs/software_upgrade_dlg.h"
#include "firmware/upgrade_check.h"

namespace ravo::desktop {

UpdateCheckRunner::UpdateCheckRunner(CRavo_ConfigApp& app, QWidget* window) : app_(app), window_(window) {}

UpdateCheckRunner::~UpdateCheckRunner()
{
    if (thread_.joinable())
        thread_.join();
}

void UpdateCheckRunner::start()
{
    if (thread_.joinable())
        return;
    const std::string url = app_.config.updateUrl;
    thread_ = std::thread([this, url] {
        UpdateManifest manifest;
        const bool ok = FetchManifest(manifest, url);
        QMetaObject::invokeMethod(this, [this, ok, manifest] { fetched(ok, manifest); }, Qt::QueuedConnection);
    });
}

void UpdateCheckRunner::fetched(bool ok, const UpdateManifest& manifest)
{
    bool shown = false;
    if (ok && app_.manifest) {
        app_.manifest->entries = manifest.entries;
        if (IsNewer(*app_.manifest)) {
            CSoftwareUpgradeDlg notice(app_.manifest->downloadLocation(), window_);
            notice.exec();
            shown = true;
        }
    }
    emit finished(shown);
}

}  // namespace ravo::desktop
