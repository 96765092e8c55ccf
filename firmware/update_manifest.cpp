#include "firmware/update_manifest.h"

#include <cstring>

namespace ravo {

void UpdateManifest::clear()
{
    for (std::string& entry : entries)
        entry.clear();
    entries[kServiceKey] = kManifestServiceKey;
    entries[kAgentName] = kManifestAgentName;
}

std::string Element(const std::string& text, const std::string& name)
{
    const std::string startTag = "<" + name + ">";
    const std::string endTag = "</" + name + ">";
    size_t start = text.find(startTag);
    if (start == std::string::npos)
        return {};
    start += startTag.size();
    size_t end = text.find(endTag, start);
    if (end == std::string::npos)
        return {};
    return text.substr(start, end - start);
}

namespace {

// name, file, date and version/string, major, minor of a "win" or "firmware" entry.
void readEntryGroup(UpdateManifest& manifest, const std::string& group, int first)
{
    manifest[first] = Element(group, "name");
    manifest[first + 1] = Element(group, "file");
    manifest[first + 2] = Element(group, "date");
    std::string version = Element(group, "version");
    manifest[first + 3] = Element(version, "string");
    manifest[first + 4] = Element(version, "major");
    manifest[first + 5] = Element(version, "minor");
}

}  // namespace

bool ReadManifest(UpdateManifest& manifest)
{
    for (int entry = UpdateManifest::kProgramName; entry < UpdateManifest::kEntryCount; ++entry)
        manifest[entry].clear();
    if (manifest[UpdateManifest::kFetchedText].empty())
        return false;
    std::string ravo = Element(manifest[UpdateManifest::kFetchedText], "ravo");
    if (ravo.empty())
        return false;
    std::string config = Element(ravo, "ravo_config");
    if (!config.empty()) {
        std::string win = Element(config, "win");
        if (!win.empty()) {
            readEntryGroup(manifest, win, UpdateManifest::kProgramName);
            manifest[UpdateManifest::kServiceCode] = Element(win, "cdata");
        }
    }
    std::string firmware = Element(ravo, "firmware");
    if (!firmware.empty())
        readEntryGroup(manifest, firmware, UpdateManifest::kFirmwareName);
    return true;
}

bool IsNewer(const UpdateManifest& manifest)
{
    const std::string& version = manifest[UpdateManifest::kProgramVersion];
    if (version.empty())
        return false;
    // Zero-terminated byte strings, compared as unsigned characters.
    return std::strcmp(version.c_str(), kOwnProgramVersion) > 0;
}

}  // namespace ravo
