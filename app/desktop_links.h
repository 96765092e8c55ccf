#pragma once
#include <string>
#include <vector>

namespace ravo {

// A link button of the about box or the upgrade notice: its text, tooltip and
// the address it opens.
struct LinkButtonText {
    std::string text;
    std::string tooltip;
    std::string target;
};

// The about box's three links: the maker's home page, the product page and
// the support e-mail address (a mailto: target).
std::vector<LinkButtonText> aboutLinks();
// The program name label of the about box: "Ravo_Config, " and the version tag.
std::string aboutNameText();

// The upgrade notice's texts and its "Go to web page" address.
inline constexpr char kUpgradeCaption[] = "Ravo_Config - Software upgrade";
inline constexpr char kUpgradeHeading[] = "WEB DOWNLOAD";
inline constexpr char kUpgradeText[] =
    "New software version is out, please click on button below. This will open your default web browser and start "
    "downloading the new software.\nAfter download, exit this program and install the new software.";
inline constexpr char kUpgradeWebPage[] = "https://www.varnholm.example/ravo/";
LinkButtonText upgradeDownloadLink(const std::string& downloadLocation);
LinkButtonText upgradeWebPageLink();

// True for the only addresses the desktop hands to the system's "open"
// action: http and https web addresses, and mailto: with one plain address.
bool isOpenableLink(const std::string& target);

}  // namespace ravo
