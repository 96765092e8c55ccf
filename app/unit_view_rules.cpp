#include "app/unit_view_rules.h"

#include <cctype>

#include "app/app_config.h"
#include "app/frame_state.h"
#include "firmware/firmware_check.h"
#include "jobs/firmware_download.h"
#include "jobs/job_codes.h"
#include "jobs/job_results.h"
#include "jobs/unit_view_texts.h"
#include "link/c_format.h"
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

FirmwarePress firmwareRequestFor(const FirmwareFileList& listing, const std::string& chosenText)
{
    FirmwarePress request;
    const std::string name = trimmed(chosenText);
    if (name.empty())
        return request;
    const std::string path = firmwareFilePath(listing, name);
    FirmwareFileCheck check = checkFirmwareFile(path);
    if (!check.ok()) {
        request.action = FirmwarePress::NotFound;
        request.statusText = firmwareFileLine(name, check);
        return request;
    }
    request.action = FirmwarePress::Request;
    request.path = path;
    return request;
}

std::string firmwareEndHint(int code, bool unitWaitsInBootloader)
{
    if (!unitWaitsInBootloader || code == 0)
        return {};
    return std::string(code == -2 ? "Download stopped. " : "Download not finished. ") + kBootloaderContinuation;
}

std::string readInfoEndHint(int code, bool unitWaitsInBootloader)
{
    return code == -4 && unitWaitsInBootloader ? kBootloaderContinuation : std::string();
}

std::string unitResultText(const std::string& linkText, const std::string& linkLost, const std::string& hint)
{
    std::string text;
    for (const std::string* part : {&linkText, &linkLost, &hint})
        if (!part->empty())
            text += (text.empty() ? "" : "\n") + *part;
    return text;
}

std::string firmwareConfirmText(const std::string& fileName, uint16_t unit, const UnitVersions* versions,
                                int downloadMode)
{
    std::string running;
    if (downloadMode == JOB_FIRMWARE_BL)
        running = "The unit waits in its bootloader.";
    else if (versions && versions->mainVersion != 0)
        running = "The unit runs software ver " + softwareVersionText(*versions) + ".";
    else
        running = "The unit's software version is not known (Read Info reads it).";
    return formatC("Send the firmware file %s to unit %04X?", fileName.c_str(), unsigned(unit)) + "\n" + running +
           "\nDuring the download the unit waits in its bootloader; keep it in front of the port.";
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

std::string unitResultShown(const UnitShown& unit)
{
    const bool nothingYet = unit.resultText.empty() && !unit.versions && !unit.voltage && !unit.settingsRead;
    return nothingYet ? kFirstStepHint : unit.resultText;
}

std::vector<BannerLine> unitBannerLines(const UnitShown& unit, const std::vector<std::string>& firmwareFiles)
{
    UnitWarningFacts facts;
    facts.voltage = unit.voltage;
    facts.versions = unit.versions;
    if (unit.settingsRead)
        facts.settings = unit.settings;
    facts.settingsReadAt = unit.settingsReadAt;
    facts.firmwareFiles = firmwareFiles;
    std::vector<BannerLine> lines;
    for (const UnitWarning& warning : unitWarnings(facts))
        lines.push_back({warning.severity, std::string(severityName(warning.severity)) + ": " + warning.text});
    return lines;
}

}  // namespace ravo
