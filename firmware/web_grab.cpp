#include "firmware/web_grab.h"

#include <cctype>
#include <cstdarg>

#include "firmware/web_status.h"
#include "link/c_format.h"

namespace ravo {

bool webSchemeAllowed(const std::string& url)
{
    std::string lower;
    for (char c : url.substr(0, 8))
        lower += char(std::tolower(static_cast<unsigned char>(c)));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
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

bool CWebGrab::beginFetch(std::string& destination, const std::string& agentName, WebStatusWindow statusWindow,
                          bool& created)
{
    responseHeaders.clear();
    statusCode = 0;
    destination.clear();
    failure = WebFailure::kNone;
    failureText.clear();
    created = false;
    if (!session) {
        session = std::make_unique<CWebGrabSession>(agentName, statusWindow);
        if (!session->valid()) {
            session.reset();
            return fail(WebFailure::kOther, "The web client could not be started", false);
        }
        created = true;
    }
    if (statusWindow)
        session->statusWindow = statusWindow;
    return true;
}

bool CWebGrab::fail(WebFailure kind, std::string text, bool whileReading)
{
    if (text.size() > 255)
        text.resize(255);
    failure = kind;
    failureText = text;
    if (whileReading)
        errorText = text;
    if (session)
        session->ReportStatus("%s", text.c_str());
    return false;
}

}  // namespace ravo
