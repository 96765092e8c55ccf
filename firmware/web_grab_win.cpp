#include "firmware/web_grab.h"

#include <windows.h>
#include <winhttp.h>

#include "firmware/web_status.h"
#include "link/c_format.h"

namespace ravo {
namespace {

std::wstring widen(const std::string& text)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// One WinHTTP handle, closed when it goes.
struct Handle {
    HINTERNET h = nullptr;
    ~Handle()
    {
        if (h)
            ::WinHttpCloseHandle(h);
    }
};

struct Address {
    bool https = false;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;  // with the query
};

bool crack(const std::string& url, Address& out)
{
    std::wstring wide = widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = DWORD(-1);
    parts.dwUrlPathLength = DWORD(-1);
    parts.dwExtraInfoLength = DWORD(-1);
    if (!::WinHttpCrackUrl(wide.c_str(), DWORD(wide.size()), 0, &parts) || parts.dwHostNameLength == 0)
        return false;
    out.https = parts.nScheme == INTERNET_SCHEME_HTTPS;
    out.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    out.port = parts.nPort;
    out.path.assign(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (parts.lpszExtraInfo)
        out.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (out.path.empty())
        out.path = L"/";
    return true;
}

// The address a Location header points to, seen from `base`.
std::string resolveLocation(const std::string& base, const std::string& location)
{
    if (location.find("://") != std::string::npos)
        return location;
    size_t schemeEnd = base.find("://");
    size_t hostEnd = base.find('/', schemeEnd + 3);
    std::string origin = base.substr(0, hostEnd);
    if (location.rfind("//", 0) == 0)
        return base.substr(0, schemeEnd + 1) + location;
    if (location.rfind('/', 0) == 0)
        return origin + location;
    size_t lastSlash = base.rfind('/');
    return (lastSlash == std::string::npos || lastSlash < schemeEnd + 3 ? origin + "/" : base.substr(0, lastSlash + 1)) +
           location;
}

std::wstring queryHeader(HINTERNET request, DWORD what)
{
    DWORD size = 0;
    ::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
    if (size == 0)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                               WINHTTP_NO_HEADER_INDEX))
        return {};
    text.resize(size / sizeof(wchar_t));
    return text;
}

long statusOf(HINTERNET request)
{
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return long(code);
}

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// On each request: the connect time-out, and the receive time-out both for
// the response's head and for every read of the body (WinHTTP's own defaults
// stand where none is given).
void applyTimeouts(HINTERNET request, uint32_t connectMs, uint32_t receiveMs)
{
    DWORD connect = connectMs ? connectMs : 60000;
    DWORD receive = receiveMs ? receiveMs : 30000;
    ::WinHttpSetTimeouts(request, 0, int(connect), int(connect), int(receive));
    ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
    ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &receive, sizeof receive);
}

// WinHTTP says ERROR_WINHTTP_TIMEOUT; wine's passes on the socket's WSAETIMEDOUT.
bool isTimeout(DWORD error)
{
    constexpr DWORD kSocketTimedOut = 10060;
    return error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut;
}

void report(CWebGrabSession& session, int event, const std::string& name = {})
{
    session.StatusCallback(event, name.empty() ? nullptr : name.c_str(), name.empty() ? 0 : name.size() + 1);
}

}  // namespace

CWebGrabSession::CWebGrabSession(const std::string& agent, WebStatusWindow window)
    : agentName(agent), statusWindow(std::move(window))
{
    handle_ = ::WinHttpOpen(widen(agentName).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0);
    if (handle_)
        StatusCallback(WEB_HANDLE_CREATED, nullptr, 0);
}

CWebGrabSession::~CWebGrabSession()
{
    if (handle_)
        ::WinHttpCloseHandle(handle_);
}

bool CWebGrab::GetFile(const std::string& url, std::string& destination, const std::string& agentName,
                       WebStatusWindow statusWindow)
{
    bool created = false;
    if (!beginFetch(destination, agentName, statusWindow, created))
        return false;
    if (created) {
        if (useProxy) {
            std::wstring proxy = widen(formatC("%s:%d", proxyHost.c_str(), proxyPort));
            WINHTTP_PROXY_INFO info{WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.data(), nullptr};
            ::WinHttpSetOption(session->handle(), WINHTTP_OPTION_PROXY, &info, sizeof info);
        }
    }

    // Redirects are followed here, not by WinHTTP, so that each hop's address is checked.
    std::string current = url;
    for (int hop = 0;; ++hop) {
        if (!webSchemeAllowed(current))
            return hop == 0 ? fail(WebFailure::kRefusedScheme, "Only http and https addresses are fetched: " + url, false)
                            : fail(WebFailure::kRefusedRedirect, "Redirect refused: " + current, false);
        Address address;
        if (!crack(current, address))
            return fail(WebFailure::kConnect, "Bad web address: " + current, false);
        session->host = narrow(address.host);
        report(*session, WEB_RESOLVING_NAME, session->host);
        report(*session, WEB_NAME_RESOLVED, session->host);
        report(*session, WEB_CONNECTING_TO_SERVER);
        Handle connection{::WinHttpConnect(session->handle(), address.host.c_str(), address.port, 0)};
        Handle request{connection.h ? ::WinHttpOpenRequest(connection.h, L"GET", address.path.c_str(), nullptr,
                                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                           (address.https ? WINHTTP_FLAG_SECURE : 0) | WINHTTP_FLAG_REFRESH)
                                    : nullptr};
        if (!request.h)
            return fail(WebFailure::kConnect, "Cannot reach " + session->host, false);
        DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
        ::WinHttpSetOption(request.h, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
        applyTimeouts(request.h, connectTimeoutMs, receiveTimeoutMs);
        report(*session, WEB_SENDING_REQUEST);
        // Always from the server: no cached copy on the way.
        if (!::WinHttpSendRequest(request.h, L"Cache-Control: no-cache\r\nPragma: no-cache", DWORD(-1), nullptr, 0, 0,
                                  0)) {
            DWORD error = ::GetLastError();
            return fail(WebFailure::kConnect,
                        isTimeout(error) ? "Connection timed out: " + session->host
                                                       : formatC("Cannot connect to %s (error %lu)",
                                                                 session->host.c_str(), (unsigned long)error),
                        false);
        }
        report(*session, WEB_CONNECTED_TO_SERVER);
        report(*session, WEB_REQUEST_SENT);
        if (!::WinHttpReceiveResponse(request.h, nullptr)) {
            DWORD error = ::GetLastError();
            return isTimeout(error)
                       ? fail(WebFailure::kTimeout, formatC("No data from the server for %u ms", unsigned(receiveTimeoutMs)), false)
                       : fail(WebFailure::kOther, formatC("No answer from %s (error %lu)", session->host.c_str(),
                                                          (unsigned long)error),
                              false);
        }
        report(*session, WEB_RESPONSE_RECEIVED);
        statusCode = statusOf(request.h);
        std::wstring headers = queryHeader(request.h, WINHTTP_QUERY_RAW_HEADERS_CRLF);
        responseHeaders = narrow(headers.substr(0, kWebMaxBytes));
        std::string location = narrow(queryHeader(request.h, WINHTTP_QUERY_LOCATION));
        if (isRedirect(statusCode) && !location.empty()) {
            if (hop + 1 > kWebMaxRedirects)
                return fail(WebFailure::kRefusedRedirect, formatC("More than %ld redirects", kWebMaxRedirects), false);
            current = resolveLocation(current, location);
            continue;
        }

        uint64_t startMs = clock->nowMs();
        char block[4095];
        for (;;) {
            if (cancel && cancel->load())
                return fail(WebFailure::kOther, "The fetch was given up", true);
            DWORD got = 0;
            if (!::WinHttpReadData(request.h, block, sizeof block, &got)) {
                DWORD error = ::GetLastError();
                return isTimeout(error)
                           ? fail(WebFailure::kTimeout, formatC("No data from the server for %u ms", unsigned(receiveTimeoutMs)), true)
                           : fail(WebFailure::kOther, formatC("Reading failed (error %lu)", (unsigned long)error), true);
            }
            if (got == 0)
                break;
            if (destination.size() + got > kWebMaxBytes)
                return fail(WebFailure::kTooLarge, formatC("Reply larger than %u bytes", unsigned(kWebMaxBytes)), true);
            destination.append(block, got);
            long long elapsed = (long long)(clock->nowMs() - startMs);
            session->ReportStatus("%s", webReadText(long(destination.size()), elapsed).c_str());
        }
        report(*session, WEB_CLOSING_CONNECTION);
        report(*session, WEB_CONNECTION_CLOSED);
        session->StatusCallback(WEB_REQUEST_COMPLETE, nullptr, 0);
        session->ReportStatus("%s", "");
        return true;
    }
}

}  // namespace ravo
