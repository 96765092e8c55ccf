#pragma once
#include <QObject>
#include <thread>

#include "firmware/update_manifest.h"

class QWidget;

namespace ravo {
class CRavo_ConfigApp;
}

namespace ravo::desktop {

// The start-up update check: the manifest is fetched on a helper thread so the
// window keeps painting; back on the UI thread it becomes the application's
// manifest (its service code included) and, when it names a newer version,
// the upgrade notice is shown.
class UpdateCheckRunner : public QObject {
    Q_OBJECT
public:
    UpdateCheckRunner(CRavo_ConfigApp& app, QWidget* window);
    ~UpdateCheckRunner() override;  // waits for a fetch still running

    void start();

signals:
    void finished(bool noticeShown);

private:
    void fetched(bool ok, const UpdateManifest& manifest);

    CRavo_ConfigApp& app_;
    QWidget* window_;
    std::thread thread_;
};

}  // namespace ravo::desktop
