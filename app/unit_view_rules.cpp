#include "app/unit_view_rules.h"

#include <cctype>

#include "app/app_config.h"
#include "firmware/firmware_check.h"
#include "jobs/firmware_download.h"
#include "jobs/job_codes.h"
#include "link/unit_number.h"

namespace ravo {

UnitViewEnabling unitViewEnabling(bool idle, bool connected, uint16_t currentUnitNumber)
{
    UnitViewEnabling e;
    e.unitNumberBox = e.readInfo = e.firmwareList = e.firmwareDownload = e.fixSerial = idle;
    e.powerDown = idle && connected;
    e.fixSerialVisible = connected && currentUnitNumber == 0xFFFF;
    e.cancel = !idle;
    return e;
}

std::string unitNumberBoxText(const std::string& text)
{
    std::string shown = trimmed(text);
    for (char& c : shown)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return shown;
}

std::string synchroniseUnitNumber(AppConfig& config, const std::string& boxText)
{
    config.setUnitNumberText(unitNumberBoxText(boxText));
    return unitNumberBoxText(config.unitNumberText);
}

FirmwareRequest firmwareRequestFor(const FirmwareFileList& listing, const std::string& chosenText)
{
    FirmwareRequest request;
    const std::string name = trimmed(chosenText);
    if (name.empty())
        return request;
    const std::string path = firmwareFilePath(listing, name);
    FirmwareFileCheck check = checkFirmwareFile(path);
    if (!check.ok()) {
        request.action = FirmwareRequest::NotFound;
        request.statusText = firmwareFileLine(name, check);
        return request;
    }
    request.action = FirmwareRequest::Request;
    request.path = path;
    return request;
}

std::string unitResultText(const std::string& linkText, int jobCode, int jobResult)
{
    const bool firmwareJob = jobCode == JOB_FIRMWARE || jobCode == JOB_FIRMWARE_BL || jobCode == JOB_FIRMWARE_FORCE;
    // Download's own results from "stopped" on; the job's early end is not one of them.
    if (!firmwareJob || jobResult > -2 || jobResult <= kJobEndedEarly)
        return linkText;
    std::string text = linkText.empty() ? std::string() : linkText + "\n";
    text += jobResult == -2 ? "Download stopped. " : "Download not finished. ";
    return text + "The unit waits in its bootloader: type BL in the unit number box and press FW Download to "
                  "send the firmware again.";
}

FirmwareChoice firmwareChoiceFor(const FirmwareFileList& listing, const std::string& previousChoice)
{
    FirmwareChoice choice;
    if (listing.names.empty()) {
        choice.entries = {kNoFirmwareFile};
        return choice;
    }
    choice.entries = listing.names;
    choice.selected = defaultFirmwareChoice(listing.names, previousChoice);
    choice.filesFound = true;
    return choice;
}

}  // namespace ravo
