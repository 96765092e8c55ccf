#include "firmware/upgrade_check.h"

#include <cctype>

#include "firmware/web_grab.h"
#include "link/c_format.h"

namespace ravo {

bool FetchManifest(UpdateManifest& manifest, const std::string& url, std::string* reason,
                   uint32_t receiveTimeoutMs, const std::atomic<bool>* cancel)
{
    manifest[UpdateManifest::kFetchedText].clear();
    std::string why;
    long status = 0;
    bool fetched;
    {
        CWebGrab grab;
        grab.connectTimeoutMs = kManifestTimeoutMs;
        grab.receiveTimeoutMs = receiveTimeoutMs;
        grab.cancel = cancel;
        fetched = grab.GetFile(url, manifest[UpdateManifest::kFetchedText], manifest[UpdateManifest::kAgentName]);
        why = grab.failureText;
        status = grab.statusCode;
    }
    if (fetched && ReadManifest(manifest))
        return true;
    if (fetched)
        why = status != 200 ? formatC("HTTP status %ld", status) : std::string("The reply is not an update manifest");
    if (reason)
        *reason = why;
    return false;
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
