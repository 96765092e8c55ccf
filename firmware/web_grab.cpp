#include "firmware/web_grab.h"

#include <cstdarg>
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

// What the callbacks of one fetch share.
struct Transfer {
    CWebGrab* grab;
    CWebGrabSession* session;
    std::string* destination;
    uint64_t startMs;
    bool overLimit = false;
    bool responseSeen = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    size_t length = size * count;
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
    auto* session = static_cast<CWebGrabSession*>(user);
    reportEvent(session, WEB_CONNECTED_TO_SERVER);
    reportEvent(session, WEB_SENDING_REQUEST);
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
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, this);
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

void CWebGrabSession::StatusCallback(int event, const void* info, size_t infoLength)
{
    std::string text;
    if (webStatusText(event, info, infoLength, text))
        ReportStatus("%s", text.c_str());
}

void CWebGrabSession::ReportStatus(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    vformatC(buffer, sizeof buffer, format, args);
    va_end(args);
    lastStatus = buffer;
    if (statusWindow)
        statusWindow(lastStatus);
}

CWebGrab::CWebGrab() = default;
CWebGrab::~CWebGrab() = default;

bool CWebGrab::GetFile(const std::string& url, std::string& destination, const std::string& agentName,
                       WebStatusWindow statusWindow)
{
    responseHeaders.clear();
    statusCode = 0;
    destination.clear();
    if (!session) {
        session = std::make_unique<CWebGrabSession>(agentName, statusWindow);
        if (!session->valid()) {
            session.reset();
            return false;
        }
        CURL* curl = curlOf(*session);
        if (connectTimeoutMs)
            curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
        if (receiveTimeoutMs) {
            // No byte at all for the receive time-out ends the fetch.
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long((receiveTimeoutMs + 999) / 1000));
        }
        if (useProxy)
            curl_easy_setopt(curl, CURLOPT_PROXY, formatC("%s:%d", proxyHost.c_str(), proxyPort).c_str());
    }
    if (statusWindow)
        session->statusWindow = statusWindow;

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

    CURLcode result = curl_easy_perform(curl);

    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, nullptr);
    curl_slist_free_all(headers);

    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    statusCode = code;
    if (result != CURLE_OK) {
        std::string text = transfer.overLimit ? formatC("Reply larger than %u bytes", unsigned(kWebMaxBytes))
                           : errorBuffer[0]   ? std::string(errorBuffer)
                                              : std::string(curl_easy_strerror(result));
        if (text.size() > 255)
            text.resize(255);
        if (transfer.responseSeen)
            errorText = text;
        session->ReportStatus("%s", text.c_str());
        return false;
    }
    session->StatusCallback(WEB_REQUEST_COMPLETE, nullptr, 0);
    session->ReportStatus("%s", "");
    return true;
}

}  // namespace ravo
