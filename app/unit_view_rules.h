#pragma once
#include <cstdint>
#include <string>

#include "firmware/firmware_list.h"

namespace ravo {

struct AppConfig;

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
struct FirmwareRequest {
    enum Action { Nothing, Request, NotFound } action = Nothing;
    std::string path;        // Request: the file to download
    std::string statusText;  // NotFound: "File [%s] not found" with the name, or why it is refused
};

FirmwareRequest firmwareRequestFor(const FirmwareFileList& listing, const std::string& chosenText);

// The firmware list's entries and choice after a refresh: the files found,
// or "<no file avalible>" alone when there are none (then the list is left
// disabled).
struct FirmwareChoice {
    std::vector<std::string> entries;
    int selected = 0;
    bool filesFound = false;
};

FirmwareChoice firmwareChoiceFor(const FirmwareFileList& listing, const std::string& previousChoice);

// The result text after a job: the worker's link text, and after a firmware
// download that stopped or failed once the unit was in its bootloader, how
// to go on (the bootloader waits for the image).
std::string unitResultText(const std::string& linkText, int jobCode, int jobResult);

inline constexpr char kNoFirmwareFile[] = "<no file avalible>";

}  // namespace ravo
