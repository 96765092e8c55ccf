#include "jobs/unit_warnings.h"

#include <algorithm>

#include "divedata/unit_health.h"
#include "firmware/firmware_list.h"
#include "jobs/unit_info_steps.h"
#include "link/c_format.h"
#include "link/unit_time.h"
#include "settings/clock_check.h"
#include "settings/setting_texts.h"

namespace ravo {
namespace {

constexpr int32_t kNoTestError = 255;

void selfTest(const UnitSettings& s, std::vector<UnitWarning>& out)
{
    if (!s.hasStatusInfo || (s.systemMode != 0 && s.systemMode != 1) || s.errorCode == kNoTestError)
        return;
    const char* test = s.systemMode == 1 ? "Pre dive test" : "Power up self test";
    out.push_back({WarningSeverity::Danger,
                   formatC("%s failed: test number %d, error %d. Do not dive: put the fault right and run the "
                           "test again.",
                           test, int(s.testNumber), int(s.errorCode))});
}

void cells(const UnitSettings& s, std::vector<UnitWarning>& out)
{
    if (!s.hasExtendedInfo)
        return;
    const HealthThresholds band;
    const int32_t outputs[2] = {s.o2Sensor1mV, s.o2Sensor2mV};
    for (int cell = 0; cell < 2; ++cell) {
        const int32_t mv = outputs[cell];
        if (mv < 0)
            out.push_back({WarningSeverity::Danger,
                           formatC("O2 cell %d does not answer. Do not dive: check the cell and its cable, or "
                                   "replace the cell.",
                                   cell + 1)});
        else if (mv < band.plausibleLowMv || mv > band.plausibleHighMv)
            out.push_back({WarningSeverity::Danger,
                           formatC("O2 cell %d reads %d mV, outside %d to %d mV. Do not dive: calibrate the cell "
                                   "or replace it.",
                                   cell + 1, int(mv), band.plausibleLowMv, band.plausibleHighMv)});
    }
}

void battery(const std::optional<double>& volts, std::vector<UnitWarning>& out)
{
    if (volts && voltageTooLow(*volts))
        out.push_back({WarningSeverity::Danger,
                       formatC("Battery low: %0.3f V, below %0.3f V. Charge the battery before the next dive.",
                               *volts, kLowestGoodVoltage)});
}

void unitClock(const UnitSettings& s, uint32_t readAt, std::vector<UnitWarning>& out)
{
    const ClockCheck check = checkUnitClock(s.rtcTime, readAt);
    if (!check.warn)
        return;
    const int64_t distance = check.offset < 0 ? -check.offset : check.offset;
    out.push_back({WarningSeverity::Caution,
                   formatC("The unit's clock is %s %s the PC's UTC time. Set the unit's clock to now.",
                           timeSpanText(distance).c_str(), check.offset < 0 ? "behind" : "ahead of")});
}

void service(const UnitSettings& s, std::vector<UnitWarning>& out)
{
    if (!s.hasServiceTime || !serviceNeeded(s.serviceTime, s.rtcTime))
        return;
    std::string what;
    if (s.serviceTime == 0xFFFFFFFFu)
        what = "The unit holds no service date.";
    else if (s.serviceTime > s.rtcTime)
        what = "The service date " + FormatUnitTime(s.serviceTime) + " lies after the unit's clock.";
    else
        what = "Service date passed: the last service, " + FormatUnitTime(s.serviceTime) + ", is more than 728 days ago.";
    out.push_back({WarningSeverity::Caution, what + " Have the unit serviced."});
}

void firmware(const std::optional<UnitVersions>& versions, const std::vector<std::string>& files,
              std::vector<UnitWarning>& out)
{
    if (!versions || versions->mainVersion == 0)
        return;
    int newest = -1;
    std::string newestName;
    for (const std::string& name : files) {
        const int version = firmwareFileVersion(name);
        if (version > newest) {
            newest = version;
            newestName = name;
        }
    }
    if (newest < 0 || uint32_t(newest) <= versions->firmwareVersion())
        return;
    const std::string running = formatC("%04X", unsigned(versions->firmwareVersion()));
    out.push_back({WarningSeverity::Notice, "The unit's firmware " + running + " is older than " + newestName +
                                                " in the firmware folder. Install it with a firmware download."});
}

}  // namespace

std::vector<UnitWarning> unitWarnings(const UnitWarningFacts& facts)
{
    std::vector<UnitWarning> out;
    const UnitSettings* settings = facts.settings && facts.settings->valid ? &*facts.settings : nullptr;
    if (settings) {
        selfTest(*settings, out);
        cells(*settings, out);
    }
    battery(facts.voltage, out);
    if (settings) {
        unitClock(*settings, facts.settingsReadAt, out);
        service(*settings, out);
    }
    firmware(facts.versions, facts.firmwareFiles, out);
    std::stable_sort(out.begin(), out.end(),
                     [](const UnitWarning& a, const UnitWarning& b) { return a.severity < b.severity; });
    return out;
}

const char* severityName(WarningSeverity severity)
{
    switch (severity) {
    case WarningSeverity::Danger: return "Danger";
    case WarningSeverity::Caution: return "Caution";
    default: return "Notice";
    }
}

}  // namespace ravo
