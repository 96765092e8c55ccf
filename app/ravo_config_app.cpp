#include "app/ravo_config_app.h"

#include "divedata/saved_logs.h"
#include "firmware/file_util.h"
#include "link/socket_layer.h"

namespace ravo {

CRavo_ConfigApp::CRavo_ConfigApp()
    : worker(std::make_unique<WorkTask>()), manifest(std::make_unique<UpdateManifest>())
{
}

CRavo_ConfigApp::~CRavo_ConfigApp()
{
    shutDown();
}

bool CRavo_ConfigApp::startUp(std::unique_ptr<ConfigStore> store, std::string& error)
{
    std::string socketError;
    if (!startSocketLayer(socketError)) {
        error = "Windows sockets initialization failed.";
        return false;
    }
    stopSocketLayer();  // the link holds its own use of the socket layer

    store_ = store ? std::move(store) : makeNativeConfigStore();
    config.load(*store_);
    worker->setLinkAddress(config.linkAddress);
    log.open(joinFolder(config.startFolder, "loggfile.txt"));
    log.write("Open app");
    listSavedDives();
    started_ = true;
    return true;
}

void CRavo_ConfigApp::listSavedDives()
{
    ListSavedDiveLogs(config.diveFolder, savedDiveNames);
}

bool CRavo_ConfigApp::saveConfig(std::string& error)
{
    return store_ && config.save(*store_, error);
}

bool CRavo_ConfigApp::shutDown()
{
    if (!started_)
        return configSaveError.empty();
    started_ = false;
    log.close();
    manifest.reset();
    worker.reset();
    configSaveError.clear();
    config.save(*store_, configSaveError);
    store_.reset();
    return configSaveError.empty();
}

}  // namespace ravo
