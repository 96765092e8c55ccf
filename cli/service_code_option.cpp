#include "cli/service_code_option.h"

#include <cstdio>

#include "firmware/upgrade_check.h"
#include "settings/service_code.h"

namespace ravo::cli {

void enterServiceCodeOption(CRavo_ConfigApp& app, const std::string& code, const ServiceCodeSource& source)
{
    // Without --service-cdata the code comes from the update manifest, as in
    // the desktop program, which fetched it at start-up.
    std::string enciphered = source.encipheredText;
    if (enciphered.empty() && FetchManifest(*app.manifest, app.config.updateUrl))
        enciphered = app.manifest->encipheredCode();
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
