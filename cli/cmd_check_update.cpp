#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/json_output.h"
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
                const bool opensLocation = location.empty() || isWebAddress(location);
                if (context.output.json) {
                    // Texts from the served manifest need not be UTF-8.
                    printJson({{"url", jsonText(address)},
                               {"publishedVersion", jsonText(manifest.programVersion())},
                               {"ownVersion", kOwnProgramVersion},
                               {"newer", IsNewer(manifest)},
                               {"downloadLocation", jsonText(location)},
                               {"downloadLocationIsWebAddress", !location.empty() && opensLocation}});
                } else {
                    std::printf("Published version: %s\n", manifest.programVersion().c_str());
                    std::printf("Newer than %s: %s\n", kOwnProgramVersion, IsNewer(manifest) ? "yes" : "no");
                    std::printf("Download location: %s\n", location.c_str());
                }
                if (!opensLocation)
                    std::fprintf(stderr, "The download location is not a web address and would not be opened.\n");
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
