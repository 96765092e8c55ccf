#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "firmware/upgrade_check.h"

namespace ravo::cli {

CliCommand checkUpdateCommand()
{
    auto url = std::make_shared<std::string>();
    return {"check-update",
            "Fetch the update manifest and tell whether a newer program version is published.",
            [url](CLI::App& sub) {
                sub.add_option("--url", *url, "Manifest address (default: the configured UPDATEURL)");
            },
            [url](CliContext& context) {
                CRavo_ConfigApp& app = context.app;
                std::string address = url->empty() ? app.config.updateUrl : *url;
                UpdateManifest& manifest = *app.manifest;
                std::string reason;
                if (!FetchManifest(manifest, address, &reason)) {
                    std::fprintf(stderr, "No update manifest could be read from %s: %s\n", address.c_str(),
                                 reason.c_str());
                    return int(kExitFailed);
                }
                const std::string& location = manifest.downloadLocation();
                std::printf("Published version: %s\n", manifest.programVersion().c_str());
                std::printf("Newer than %s: %s\n", kOwnProgramVersion, IsNewer(manifest) ? "yes" : "no");
                std::printf("Download location: %s\n", location.c_str());
                if (!location.empty() && !isWebAddress(location))
                    std::fprintf(stderr, "The download location is not a web address and would not be opened.\n");
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
