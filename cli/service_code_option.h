#pragma once
#include <string>

#include "app/ravo_config_app.h"

namespace ravo::cli {

// Where the enciphered service code comes from for this run.
struct ServiceCodeSource {
    std::string encipheredText;  // --service-cdata: the code as hexadecimal pairs
    std::string manifestPath;    // --manifest: a local update manifest file
    // With neither, the code comes from the manifest fetched from the update address.
};

// Enters `code` into the service code gate before the command runs, as the
// "Settings" dialog would: service mode is on afterwards only when the code
// matches. A refused code, or a manifest file that cannot be read, is
// reported on standard error; the command still runs.
void enterServiceCodeOption(CRavo_ConfigApp& app, const std::string& code, const ServiceCodeSource& source);

}  // namespace ravo::cli
