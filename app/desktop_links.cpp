#include "app/desktop_links.h"

#include <cctype>

#include "app/app_config.h"
#include "firmware/upgrade_check.h"

namespace ravo {
namespace {

const char kHomePage[] = "https://www.varnholm.example/";
const char kProductPage[] = "https://www.varnholm.example/ravo/";
const char kSupportMail[] = "support@varnholm.example";

bool isMailLink(const std::string& target)
{
    const std::string prefix = "mailto:";
    if (target.size() <= prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(target[i])) != prefix[i])
            return false;
    const std::string address = target.substr(prefix.size());
    size_t at = address.find('@');
    if (at == 0 || at == std::string::npos || at + 1 == address.size() || address.find('@', at + 1) != std::string::npos)
        return false;
    for (unsigned char c : address)
        if (c <= ' ' || c >= 0x7F || c == '?' || c == '&' || c == '%' || c == '<' || c == '>' || c == '"')
            return false;
    return true;
}

}  // namespace

std::vector<LinkButtonText> aboutLinks()
{
    return {
        {std::string("open webpage ") + kHomePage, "Open Varnholm home page in a web browser", kHomePage},
        {std::string("open webpage ") + kProductPage, "Open the Ravo product home page in a web browser",
         kProductPage},
        {std::string("email to ") + kSupportMail, "Open your email program and send email to our support",
         std::string("mailto:") + kSupportMail},
    };
}

std::string aboutNameText()
{
    return std::string(kProgramName) + ", " + kProgramVersion;
}

LinkButtonText upgradeDownloadLink(const std::string& downloadLocation)
{
    return {"Download new software",
            "Click here to open a web browser and start downloading the new software. After download, exit this "
            "application and install the new software.",
            downloadLocation};
}

LinkButtonText upgradeWebPageLink()
{
    return {"Go to web page", "Click here to open web page in a web browser.", kUpgradeWebPage};
}

bool isOpenableLink(const std::string& target)
{
    return isWebAddress(target) || isMailLink(target);
}

}  // namespace ravo
