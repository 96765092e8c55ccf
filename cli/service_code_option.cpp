#include "cli/service_code_option.h"

#include <cstdio>

#include "settings/service_code.h"

namespace ravo::cli {

void enterServiceCodeOption(CRavo_ConfigApp& app, const std::string& code, const ServiceCodeSource& source)
{
    enterServiceCode(
        app.config.serviceUnlocked,
        [&code](std::string& entered) {
            entered = code;
            return true;
        },
        source.encipheredText);
    if (!app.config.serviceUnlocked)
        std::fprintf(stderr, "%s\n", "Service code not accepted: service mode stays off");
}

}  // namespace ravo::cli
