#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/app_log.h"
#include "app/config_store.h"
#include "firmware/update_manifest.h"
#include "jobs/work_task.h"

namespace ravo {

// The application object: owns the configuration, the worker, the manifest,
// the log and the list of saved dive logs, from start-up to shutdown.
class CRavo_ConfigApp {
public:
    CRavo_ConfigApp();
    ~CRavo_ConfigApp();

    // Start-up without a window: the socket layer, the configuration from
    // `store` (the native store when null), the log, "Open app", the saved
    // dive logs. False, after the message in `error`, when the program must end.
    bool startUp(std::unique_ptr<ConfigStore> store, std::string& error);
    // Shutdown: the log closed, the manifest released, the worker destroyed
    // (waiting for its job), the configuration saved (what this run changed
    // only). False when the store could not be written, with the reason in
    // configSaveError.
    bool shutDown();

    // Saves the configuration now (what changed since start-up or the last
    // save). False, with the reason in `error`, when the store cannot be
    // written.
    bool saveConfig(std::string& error);
    std::string configSaveError;

    // Where the configuration store lives; empty before start-up.
    std::string storeLocation() const { return store_ ? store_->location() : std::string(); }

    // Lists the saved dive logs of diveFolder into savedDiveNames.
    void listSavedDives();

    AppConfig config;
    std::unique_ptr<WorkTask> worker;
    std::unique_ptr<UpdateManifest> manifest;
    AppLog log;
    std::vector<std::string> savedDiveNames;

    // The configuration store after startUp (the window layout is kept there
    // too); null before.
    ConfigStore* configStore() { return store_.get(); }

private:
    std::unique_ptr<ConfigStore> store_;
    bool started_ = false;
};

}  // namespace ravo
