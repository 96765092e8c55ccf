#include "firmware/web_status.h"

#include <cstdint>
#include <cstring>

#include "link/c_format.h"

namespace ravo {

bool webStatusText(int event, const void* info, size_t infoLength, std::string& text)
{
    const char* name = info ? static_cast<const char*>(info) : "";
    switch (event) {
    case WEB_RESOLVING_NAME: text = formatC("Resolving name for %s", name); return true;
    case WEB_NAME_RESOLVED: text = formatC("Resolved name for %s", name); return true;
    case WEB_CONNECTING_TO_SERVER: text = "Connecting to socket address "; return true;
    case WEB_CONNECTED_TO_SERVER: text = "Connected to socket address"; return true;
    case WEB_SENDING_REQUEST: text = "Sending request..."; return true;
    case WEB_REQUEST_SENT: text = "Request sent"; return true;
    case WEB_RECEIVING_RESPONSE:
    case WEB_HANDLE_CLOSING: return false;
    case WEB_RESPONSE_RECEIVED: text = "Response received"; return true;
    case WEB_CLOSING_CONNECTION: text = "Closing the connection to the server"; return true;
    case WEB_CONNECTION_CLOSED: text = "Connection to the server closed"; return true;
    case WEB_HANDLE_CREATED: text.clear(); return true;
    case WEB_REQUEST_COMPLETE:
        if (info && infoLength == 8) {
            uint32_t words[2];
            std::memcpy(words, info, sizeof words);
            text = formatC("Request complete, dwResult = %8.8X, dwError = %8.8X", unsigned(words[0]),
                           unsigned(words[1]));
        } else {
            text = "Request complete";
        }
        return true;
    default: text = formatC("Unknown status: %d", event); return true;
    }
}

std::string webReadText(long totalBytes, long long elapsedMs)
{
    long long seconds = (elapsedMs + 500) / 1000;
    if (seconds >= 1)
        return formatC("Read %d bytes (%0.1f Kb/s)", int(totalBytes), double(totalBytes) / 1024.0 / double(seconds));
    return formatC("Read %d bytes", int(totalBytes));
}

}  // namespace ravo
