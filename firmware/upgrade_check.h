#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "firmware/update_manifest.h"

namespace ravo {

// The connect and receive time-outs of the manifest fetch.
inline constexpr uint32_t kManifestTimeoutMs = 5000;

// Fetches the manifest at `url` into entry 1 and reads it (entries 3 to 15).
// False when the fetch failed or the text is not a manifest; then `reason`
// (when given) says why: the fetch's failure, the HTTP status of an error
// page, or that the text is no manifest. `receiveTimeoutMs` is the time
// without a byte after which the fetch gives up; `cancel`, when set, gives it
// up as soon as it turns true.
bool FetchManifest(UpdateManifest& manifest, const std::string& url, std::string* reason = nullptr,
                   uint32_t receiveTimeoutMs = kManifestTimeoutMs, const std::atomic<bool>* cancel = nullptr);

// The start-up check: fetch, read, compare with kOwnProgramVersion; when the published
// version is newer, calls `showNotice` with the download location (entry 4)
// and returns true. Nothing is reported on failure.
bool UpgradeCheck(UpdateManifest& manifest, const std::string& url,
                  const std::function<void(const std::string& downloadLocation)>& showNotice);

// True for an address the desktop may open in the web browser: http:// or
// https:// (any case), with a host, no blanks and no control characters.
bool isWebAddress(const std::string& location);

// Hands `location` to `openAction` only when it is a web address; an empty or
// other location (file:, javascript:, ...) does nothing. True when handed on.
bool OpenWebLocation(const std::string& location, const std::function<void(const std::string&)>& openAction);

}  // namespace ravo
