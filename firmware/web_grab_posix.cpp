#include "firmware/web_grab.h"

#include <chrono>
#include <cstring>

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "firmware/web_status.h"
#include "link/c_format.h"

namespace ravo {
namespace {

CURL* curlOf(const CWebGrabSession& session)
{
    return static_cast<CURL*>(session.handle());
}

void reportEvent(CWebGrabSession* session, int event, const char* name = nullptr)
{
    session->StatusCallback(event, name, name ? std::strlen(name) + 1 : 0);
}

using Steady = std::chrono::steady_clock;

// What the callbacks of one fetch share.
struct Transfer {
    CWebGrab* grab;
    CWebGrabSession* session;
    std::string* destination;
    uint64_t startMs;
    bool overLimit = false;
    bool responseSeen = false;
    bool connected = false;
    Steady::time_point lastByte = Steady::now();  // or the connection, before the first byte
};

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    size_t length = size * count;
    transfer->lastByte = Steady::now();
    if (transfer->destination->size() + length > kWebMaxBytes) {
        transfer->overLimit = true;
        return 0;  // ends the transfer with a write error
    }
    // Reported in blocks of at most 4095 bytes, as they would have been read.
    for (size_t done = 0; done < length;) {
        size_t block = length - done < 4095 ? length - done : 4095;
        transfer->destination->append(data + done, block);
        done += block;
        long long elapsed = (long long)(transfer->grab->clock->nowMs() - transfer->startMs);
        transfer->session->ReportStatus("%s", webReadText(long(transfer->destination->size()), elapsed).c_str());
    }
    return length;
}

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    size_t length = size * count;
    transfer->lastByte = Steady::now();
    // A status line starts a new response (after a redirect): keep the last one's headers.
    if (length >= 5 && std::memcmp(data, "HTTP/", 5) == 0) {
        transfer->grab->responseHeaders.clear();
        transfer->responseSeen = true;
        reportEvent(transfer->session, WEB_RESPONSE_RECEIVED);
    }
    if (transfer->grab->responseHeaders.size() + length <= kWebMaxBytes)
        transfer->grab->responseHeaders.append(data, length);
    return length;
}

int onResolverStart(void*, void*, void* user)
{
    auto* session = static_cast<CWebGrabSession*>(user);
    reportEvent(session, WEB_RESOLVING_NAME, session->host.c_str());
    return 0;
}

curl_socket_t onOpenSocket(void* user, curlsocktype, struct curl_sockaddr* address)
{
    auto* session = static_cast<CWebGrabSession*>(user);
    reportEvent(session, WEB_NAME_RESOLVED, session->host.c_str());
    reportEvent(session, WEB_CONNECTING_TO_SERVER);
    int fd = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    return fd < 0 ? CURL_SOCKET_BAD : fd;
}

int onCloseSocket(void* user, curl_socket_t fd)
{
    auto* session = static_cast<CWebGrabSession*>(user);
    reportEvent(session, WEB_CLOSING_CONNECTION);
    int result = ::close(fd);
    reportEvent(session, WEB_CONNECTION_CLOSED);
    return result;
}

int onPrerequest(void* user, char*, char*, int, int)
{
    auto* transfer = static_cast<Transfer*>(user);
    transfer->connected = true;
    transfer->lastByte = Steady::now();
    reportEvent(transfer->session, WEB_CONNECTED_TO_SERVER);
    reportEvent(transfer->session, WEB_SENDING_REQUEST);
    return CURL_PREREQFUNC_OK;
}

int onDebug(CURL*, curl_infotype type, char*, size_t, void* user)
{
    if (type == CURLINFO_HEADER_OUT)
        reportEvent(static_cast<CWebGrabSession*>(user), WEB_REQUEST_SENT);
    return 0;
}

std::string hostOf(const std::string& url)
{
    std::string host;
    CURLU* parsed = curl_url();
    char* part = nullptr;
    if (parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK && part)
        host = part;
    curl_free(part);
    curl_url_cleanup(parsed);
    return host;
}

}  // namespace

CWebGrabSession::CWebGrabSession(const std::string& agent, WebStatusWindow window)
    : agentName(agent), statusWindow(std::move(window))
{
    CURL* curl = curl_easy_init();
    handle_ = curl;
    if (!curl)
        return;
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agentName.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kWebMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kWebMaxBytes));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kWebTotalTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, onOpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, onCloseSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_RESOLVER_START_FUNCTION, onResolverStart);
    curl_easy_setopt(curl, CURLOPT_RESOLVER_START_DATA, this);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onPrerequest);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, onDebug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);  // only to receive "request sent" through onDebug
    StatusCallback(WEB_HANDLE_CREATED, nullptr, 0);
}

CWebGrabSession::~CWebGrabSession()
{
    if (handle_)
        curl_easy_cleanup(curlOf(*this));
}

namespace {

// Runs the transfer on a multi handle, so that "no byte for the receive
// time-out" is measured here, to the millisecond, rather than as curl's
// average-speed rule. CURLE_OK, the transfer's error, or
// CURLE_OPERATION_TIMEDOUT when the peer fell silent.
CURLcode performWatched(CURL* curl, Transfer& transfer, uint32_t receiveTimeoutMs, bool& silent,
                        const std::atomic<bool>* cancel)
{
    CURLM* multi = curl_multi_init();
    if (!multi)
        return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi, curl);
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        if (!running)
            break;
        if (cancel && cancel->load()) {
            silent = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (receiveTimeoutMs && transfer.connected &&
            Steady::now() - transfer.lastByte >= std::chrono::milliseconds(receiveTimeoutMs)) {
            silent = true;
            result = CURLE_OPERATION_TIMEDOUT;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 20, nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && !silent)
            result = message->data.result;
    curl_multi_remove_handle(multi, curl);
    curl_multi_cleanup(multi);
    return result;
}

WebFailure failureOf(CURLcode result, const Transfer& transfer)
{
    switch (result) {
    case CURLE_FILESIZE_EXCEEDED: return WebFailure::kTooLarge;
    case CURLE_WRITE_ERROR: return transfer.overLimit ? WebFailure::kTooLarge : WebFailure::kOther;
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_UNSUPPORTED_PROTOCOL: return WebFailure::kRefusedRedirect;  // the first address was checked
    case CURLE_OPERATION_TIMEDOUT: return transfer.connected ? WebFailure::kTimeout : WebFailure::kConnect;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_URL_MALFORMAT: return WebFailure::kConnect;
    default: return WebFailure::kOther;
    }
}

}  // namespace

bool CWebGrab::GetFile(const std::string& url, std::string& destination, const std::string& agentName,
                       WebStatusWindow statusWindow)
{
    bool created = false;
    if (!beginFetch(destination, agentName, statusWindow, created))
        return false;
    if (created) {
        CURL* curl = curlOf(*session);
        if (connectTimeoutMs)
            curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
        if (useProxy)
            curl_easy_setopt(curl, CURLOPT_PROXY, formatC("%s:%d", proxyHost.c_str(), proxyPort).c_str());
    }
    if (!webSchemeAllowed(url))
        return fail(WebFailure::kRefusedScheme, "Only http and https addresses are fetched: " + url, false);

    CURL* curl = curlOf(*session);
    session->host = hostOf(url);
    Transfer transfer{this, session.get(), &destination, clock->nowMs()};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_slist* headers = nullptr;
    // Always from the server: no cached copy on the way.
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, &transfer);

    bool silent = false;
    CURLcode result = performWatched(curl, transfer, receiveTimeoutMs, silent, cancel);

    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, nullptr);
    curl_slist_free_all(headers);

    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    statusCode = code;
    if (result != CURLE_OK) {
        WebFailure kind = failureOf(result, transfer);
        std::string text = kind == WebFailure::kTooLarge ? formatC("Reply larger than %u bytes", unsigned(kWebMaxBytes))
                           : silent ? formatC("No data from the server for %u ms", unsigned(receiveTimeoutMs))
                           : errorBuffer[0] ? std::string(errorBuffer)
                                            : std::string(curl_easy_strerror(result));
        return fail(kind, text, transfer.responseSeen);
    }
    session->StatusCallback(WEB_REQUEST_COMPLETE, nullptr, 0);
    session->ReportStatus("%s", "");
    return true;
}

}  // namespace ravo
