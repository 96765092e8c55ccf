#pragma once
#include <cstdint>
#include <string>

#include "firmware/firmware_list.h"
#include "jobs/unit_warnings.h"

namespace ravo {

struct AppConfig;
struct UnitShown;

// Which controls of the unit view take input after a refresh: the request
// controls exactly while the worker is idle, "PowerDown" only with a unit on
// the link, "Cancel" only while a job runs; "Fix FFFF" is shown for a
// connected unit whose number was lost.
struct UnitViewEnabling {
    bool unitNumberBox = false;
    bool readInfo = false;
    bool firmwareList = false;
    bool firmwareDownload = false;
    bool fixSerial = false;
    bool fixSerialVisible = false;
    bool powerDown = false;
    bool cancel = false;
    bool operator==(const UnitViewEnabling&) const = default;
};

UnitViewEnabling unitViewEnabling(bool idle, bool connected, uint16_t currentUnitNumber);

// The unit number box's text as the view shows it: trimmed, upper case.
std::string unitNumberBoxText(const std::string& text);

// Reads the box into the configuration ("BL" or a trailing "*" choose the
// download mode) and returns what the box shows afterwards.
std::string synchroniseUnitNumber(AppConfig& config, const std::string& boxText);

// What "FW Download" does with the chosen list entry: the file is checked
// as the download would check it, so a damaged file is refused before the
// main window is asked for anything.
struct FirmwarePress {
    enum Action { Nothing, Request, NotFound } action = Nothing;
    std::string path;        // Request: the file to download
    std::string statusText;  // NotFound: "File [%s] not found" with the name, or why it is refused
};

FirmwarePress firmwareRequestFor(const FirmwareFileList& listing, const std::string& chosenText);

// The firmware list's entries and choice after a refresh: the files found,
// or "<no file avalible>" alone when there are none (then the list is left
// disabled).
struct FirmwareChoice {
    std::vector<std::string> entries;
    int selected = 0;
    bool filesFound = false;
};

FirmwareChoice firmwareChoiceFor(const FirmwareFileList& listing, const std::string& previousChoice);

// How to finish a firmware update once the unit waits in its bootloader.
inline constexpr char kBootloaderContinuation[] =
    "The unit waits in its bootloader: type BL in the unit number box and press FW Download to send the "
    "firmware again.";

// What the result text adds after a firmware job (`code` its result) for a
// unit known to wait in its bootloader now: the continuation, after
// "Download stopped." or "Download not finished."; nothing otherwise.
std::string firmwareEndHint(int code, bool unitWaitsInBootloader);
// After an information read whose versions request got no answer (`code`
// -4) from a unit known to wait in its bootloader: the continuation.
std::string readInfoEndHint(int code, bool unitWaitsInBootloader);

// The result text under "Read Info": the link's text, why the link was lost
// ("Link lost: ..."), and the hint, one a line, leaving out what is empty.
std::string unitResultText(const std::string& linkText, const std::string& linkLost, const std::string& hint);

// The question before a firmware download: the file and the unit's software
// version as last read (or that it is not known), for unit `unit`.
struct UnitVersions;
std::string firmwareConfirmText(const std::string& fileName, uint16_t unit, const UnitVersions* versions,
                                int downloadMode);

// The question when the window is closed during a firmware update, and the
// notice after the update was stopped for the close.
inline constexpr char kCloseDuringUpdateQuestion[] =
    "A firmware update is running. Closing now stops it, and the unit stays in its bootloader until the "
    "firmware is sent again.\n\nStop the update and close?";
inline constexpr char kUpdateStoppedNotice[] =
    "The firmware update was stopped. The unit waits in its bootloader: start Ravo_Config again, type BL in "
    "the unit number box and press FW Download to finish the update.";

inline constexpr char kNoFirmwareFile[] = "<no file avalible>";

// The line under "Read Info" before anything was read: the first step.
inline constexpr char kFirstStepHint[] =
    "Switch the unit on, hold it in front of the IrDA port, type its unit number and press Read Info.";
// The result text the view shows: the last job's, or the first step until a
// job has said anything.
std::string unitResultShown(const UnitShown& unit);

// The banner over the unit view: the findings on what the last read showed
// (settings only from a whole read, the clock against the time of that
// read), with the firmware folder's files, one line each, most urgent first,
// as "Danger: ...", "Caution: ..." or "Notice: ...".
struct BannerLine {
    WarningSeverity severity = WarningSeverity::Notice;
    std::string text;
};
std::vector<BannerLine> unitBannerLines(const UnitShown& unit, const std::vector<std::string>& firmwareFiles);

}  // namespace ravo
