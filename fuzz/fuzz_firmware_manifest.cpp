// Feeds arbitrary text as a fetched update manifest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "firmware/update_manifest.h"
#include "firmware/upgrade_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ravo::UpdateManifest manifest;
    manifest[ravo::UpdateManifest::kFetchedText].assign(reinterpret_cast<const char*>(data), size);
    if (ravo::ReadManifest(manifest)) {
        ravo::IsNewer(manifest);
        ravo::isWebAddress(manifest.downloadLocation());
    }
    ravo::Element(manifest[ravo::UpdateManifest::kFetchedText], "ravo");
    return 0;
}
