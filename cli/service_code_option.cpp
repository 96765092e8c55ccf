#include "cli/service_code_option.h"

#include <cstdio>

#include "divedata/text_file.h"
#include "firmware/file_util.h"
#include "firmware/upgrade_check.h"
#include "settings/service_code.h"

namespace ravo::cli {
namespace {

// The enciphered code of the manifest file at `path`; empty, after a message,
// when the file cannot be read or is no manifest.
std::string codeFromManifestFile(CRavo_ConfigApp& app, const std::string& path)
{
    std::string text;
    std::string reason;
    // The web fetch takes at most 1 MiB of a manifest; a file gets no more.
    if (!ReadWholeFile(path, text, kSmallTextFileMaxBytes, &reason)) {
        std::fprintf(stderr, "Can not read the manifest file %s (%s)\n", absolutePath(path).c_str(), reason.c_str());
        return {};
    }
    UpdateManifest& manifest = *app.manifest;
    manifest.clear();
    manifest[UpdateManifest::kFetchedText] = text;
    if (!ReadManifest(manifest)) {
        std::fprintf(stderr, "%s is not an update manifest\n", absolutePath(path).c_str());
        return {};
    }
    return manifest.encipheredCode();
}

}  // namespace

void enterServiceCodeOption(CRavo_ConfigApp& app, const std::string& code, const ServiceCodeSource& source)
{
    // Without --service-cdata or --manifest the code comes from the update
    // manifest, as in the desktop program, which fetched it at start-up.
    std::string enciphered = source.encipheredText;
    if (enciphered.empty() && !source.manifestPath.empty()) {
        enciphered = codeFromManifestFile(app, source.manifestPath);
    } else if (enciphered.empty()) {
        if (FetchManifest(*app.manifest, app.config.updateUrl))
            enciphered = app.manifest->encipheredCode();
        else
            std::fprintf(stderr, "No update manifest could be read from %s\n", app.config.updateUrl.c_str());
    }
    if (enciphered.empty()) {
        // Nothing to check the code against: saying it was refused would send
        // the user looking for a typing error.
        std::fprintf(stderr, "%s\n", "No service code to check --service-code against: service mode stays off");
        return;
    }
    enterServiceCode(
        app.config.serviceUnlocked,
        [&code](std::string& entered) {
            entered = code;
            return true;
        },
        enciphered);
    if (!app.config.serviceUnlocked)
        std::fprintf(stderr, "%s\n", "Service code not accepted: service mode stays off");
}

}  // namespace ravo::cli
