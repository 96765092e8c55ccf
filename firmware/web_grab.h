#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/clock.h"

namespace ravo {

// Where a fetch shows its progress texts (the desktop's status text control);
// empty shows nothing.
using WebStatusWindow = std::function<void(const std::string& text)>;

// Limits every fetch keeps, whatever the server sends.
inline constexpr size_t kWebMaxBytes = 1024 * 1024;  // a manifest is a few hundred bytes
inline constexpr long kWebMaxRedirects = 5;
inline constexpr long kWebTotalTimeoutMs = 60000;    // a trickling server must not hold start-up forever

// Why a fetch failed; the text beside it (CWebGrab::failureText) says it to the user.
enum class WebFailure {
    kNone,
    kRefusedScheme,    // not an http or https address
    kConnect,          // name unknown, refused or no connection within the connect time-out
    kTimeout,          // no byte for the receive time-out (or the whole fetch took too long)
    kTooLarge,         // over kWebMaxBytes
    kRefusedRedirect,  // more than kWebMaxRedirects, or to an address that is not http or https
    kOther,
};

// True for an http:// or https:// address (scheme in any case).
bool webSchemeAllowed(const std::string& url);

// The session of a fetch: its agent name, the status window and the last
// status text. Status events become texts through webStatusText().
class CWebGrabSession {
public:
    CWebGrabSession(const std::string& agentName, WebStatusWindow statusWindow);
    virtual ~CWebGrabSession();
    CWebGrabSession(const CWebGrabSession&) = delete;
    CWebGrabSession& operator=(const CWebGrabSession&) = delete;

    virtual void StatusCallback(int event, const void* info, size_t infoLength);
    // Formats (at most 511 characters), keeps it as lastStatus and shows it.
    void ReportStatus(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    bool valid() const { return handle_ != nullptr; }
    void* handle() const { return handle_; }

    std::string agentName;
    WebStatusWindow statusWindow;
    std::string lastStatus;
    std::string host;  // of the address being fetched, for the name events

private:
    void* handle_ = nullptr;  // the platform client's session (libcurl easy handle, WinHTTP session)
};

// Fetches one web resource into a text, over http or https only, following at
// most five redirects (to http or https only), keeping at most 1 MiB.
class CWebGrab {
public:
    CWebGrab();
    ~CWebGrab();
    CWebGrab(const CWebGrab&) = delete;
    CWebGrab& operator=(const CWebGrab&) = delete;

    // Fetches `url` into `destination`. True when the resource was fetched,
    // whatever the status code (an error page counts as fetched); false on a
    // failure to connect or read, a time-out, a refused address or a reply
    // over the size limit, with the reason as status text.
    bool GetFile(const std::string& url, std::string& destination, const std::string& agentName,
                 WebStatusWindow statusWindow = {});

    uint32_t connectTimeoutMs = 0;  // applied when non-zero
    uint32_t receiveTimeoutMs = 0;  // no byte for this long ends the fetch; applied when non-zero
    // When set, the fetch gives up soon after it turns true (a program that closes).
    const std::atomic<bool>* cancel = nullptr;
    bool useProxy = false;
    int proxyPort = 0;
    std::string proxyHost;

    long statusCode = 0;
    WebFailure failure = WebFailure::kNone;  // of the last fetch
    std::string failureText;     // why the last fetch failed, for the user; empty after success
    std::string errorText;       // of the last failed read, at most 255 characters
    std::string responseHeaders; // raw headers of the last response
    std::unique_ptr<CWebGrabSession> session;
    Clock* clock = &systemClock();  // times the "Read %d bytes" reports

private:
    // The start of every fetch, whatever the platform's client: the last
    // fetch's results cleared, the session made on first use (`created` says
    // so, for the platform's options) and the status window taken. False,
    // after the failure is recorded, when no session could be made.
    bool beginFetch(std::string& destination, const std::string& agentName, WebStatusWindow statusWindow,
                    bool& created);
    // Records a failure: its kind and text, reported as status; a failure
    // while reading is also kept as errorText.
    bool fail(WebFailure kind, std::string text, bool whileReading);
};

}  // namespace ravo
