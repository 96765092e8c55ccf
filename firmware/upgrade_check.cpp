#include "firmware/upgrade_check.h"

#include <cctype>

#include "firmware/web_grab.h"

namespace ravo {

bool FetchManifest(UpdateManifest& manifest, const std::string& url)
{
    manifest[UpdateManifest::kFetchedText].clear();
    bool fetched;
    {
        CWebGrab grab;
        grab.connectTimeoutMs = kManifestTimeoutMs;
        grab.receiveTimeoutMs = kManifestTimeoutMs;
        fetched = grab.GetFile(url, manifest[UpdateManifest::kFetchedText], manifest[UpdateManifest::kAgentName]);
    }
    if (!fetched)
        return false;
    return ReadManifest(manifest);
}

bool UpgradeCheck(UpdateManifest& manifest, const std::string& url,
                  const std::function<void(const std::string& downloadLocation)>& showNotice)
{
    if (!FetchManifest(manifest, url))
        return false;
    if (!IsNewer(manifest))
        return false;
    if (showNotice)
        showNotice(manifest.downloadLocation());
    return true;
}

bool isWebAddress(const std::string& location)
{
    std::string lower;
    for (char c : location) {
        auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F)
            return false;
        lower += char(std::tolower(u));
    }
    for (const char* scheme : {"http://", "https://"}) {
        std::string prefix(scheme);
        if (lower.compare(0, prefix.size(), prefix) == 0) {
            std::string rest = lower.substr(prefix.size());
            return !rest.empty() && rest[0] != '/';
        }
    }
    return false;
}

bool OpenWebLocation(const std::string& location, const std::function<void(const std::string&)>& openAction)
{
    if (!isWebAddress(location) || !openAction)
        return false;
    openAction(location);
    return true;
}

}  // namespace ravo
