#include "divedata/unit_health.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_log.h"
#include "divedata/partial_log.h"

namespace ravo {
namespace {

double medianOf(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void flag(HealthReport& report, size_t dive, int cell, HealthRule rule, std::string text)
{
    report.flags.push_back(HealthFlag{dive, cell, rule, std::move(text)});
}

// The outputs of cell `c` on the known dives before `dive`, the latest
// `count` of them, oldest first.
std::vector<int> historyOf(const std::vector<HealthDive>& dives, size_t dive, int c, int count)
{
    std::vector<int> values;
    for (size_t i = dive; i-- > 0 && int(values.size()) < count;)
        if (dives[i].known)
            values.insert(values.begin(), dives[i].cellMv[c]);
    return values;
}

void assessDive(HealthReport& report, size_t i)
{
    const HealthThresholds& t = report.thresholds;
    const HealthDive& d = report.dives[i];
    for (int c = 0; c < 2; ++c) {
        const int mv = d.cellMv[c];
        if (mv < t.plausibleLowMv || mv > t.plausibleHighMv)
            flag(report, i, c + 1, HealthRule::OutOfBand,
                 detail::textC("Cell %d %d mV is outside the plausible %d to %d mV", c + 1, mv, t.plausibleLowMv,
                               t.plausibleHighMv));
        const std::vector<int> history = historyOf(report.dives, i, c, t.medianDives);
        if (int(history.size()) < t.medianMinDives)
            continue;
        const double median = medianOf(history);
        if (median > 0 && mv < median * (1.0 - t.dropShare))
            flag(report, i, c + 1, HealthRule::BelowMedian,
                 detail::textC("Cell %d %d mV is %.0f%% below its median of %g mV over the %u dives before", c + 1,
                               mv, (median - mv) / median * 100.0, median, unsigned(history.size())));
    }
    const double mean = (d.cellMv[0] + d.cellMv[1]) / 2.0;
    const int apart = std::abs(d.cellMv[0] - d.cellMv[1]);
    if (mean > 0 && apart > t.partnerShare * mean)
        flag(report, i, 0, HealthRule::ApartFromPartner,
             detail::textC("Cells 1 and 2 differ by %d mV (%.0f%% of their mean)", apart,
                           apart / mean * 100.0));
}

}  // namespace

std::string HealthReport::flagsText(size_t dive) const
{
    std::string text;
    for (const HealthFlag& f : flags)
        if (f.dive == dive)
            text += (text.empty() ? "" : "; ") + f.text;
    return text;
}

HealthDive HealthDiveOf(const std::string& stamp, const CDiveHeaderOrangebox& header, bool partial)
{
    HealthDive d;
    d.stamp = stamp;
    d.partial = partial;
    // A header without its marker may hold anything: it is shown as unknown.
    d.known = header.valid;
    d.cellMv[0] = header.sensor1mV;
    d.cellMv[1] = header.sensor2mV;
    d.batterySoC = header.batterySoC;
    d.daysSinceLearn = header.daysSinceLearn;
    d.batterySerial = header.batterySerial;
    d.rigSerial = header.rigSerial;
    return d;
}

HealthReport AssessHealth(const std::string& unit, std::vector<HealthDive> dives, const HealthThresholds& thresholds)
{
    HealthReport report;
    report.unit = unit;
    report.dives = std::move(dives);
    report.thresholds = thresholds;
    for (size_t i = 0; i < report.dives.size(); ++i)
        if (report.dives[i].known)
            assessDive(report, i);
    return report;
}

std::vector<HealthDive> ReadHealthDives(const std::string& folder, const std::string& unit)
{
    std::vector<HealthDive> dives;
    for (const SavedDiveRef& ref : ListSavedDives(folder, unit)) {
        CDiveHeaderOrangebox header;
        const std::string base = SavedLogBasePath(folder, ref.unit, ref.stamp);
        if (!ReadSavedHeaderBytes(base + ".txt", header))
            header.Reset();
        dives.push_back(HealthDiveOf(ref.stamp, header, IsMarkedPartial(base)));
    }
    return dives;
}

std::string HealthWarningLine(const HealthReport& report)
{
    size_t latest = report.dives.size();
    for (size_t i = report.dives.size(); i-- > 0;)
        if (report.dives[i].known) {
            latest = i;
            break;
        }
    if (latest == report.dives.size())
        return "No dive of this unit holds health figures";
    size_t earlier = 0;
    for (size_t i = 0; i < latest; ++i)
        earlier += report.flagsText(i).empty() ? 0 : 1;
    const std::string earlierText =
        earlier == 0 ? "" : detail::textC("%u earlier dive%s flagged", unsigned(earlier), earlier == 1 ? "" : "s");
    const std::string now = report.flagsText(latest);
    if (!now.empty())
        return "Warning (" + report.dives[latest].stamp + "): " + now + (earlierText.empty() ? "" : "; " + earlierText);
    return earlierText.empty() ? "No warnings" : "No warning on the latest dive; " + earlierText;
}

std::vector<std::vector<std::string>> HealthTableRows(const HealthReport& report)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"Dive", "Cell 1 mV", "Cell 2 mV", "Battery %", "Days since learn", "Flags"});
    for (size_t i = 0; i < report.dives.size(); ++i) {
        const HealthDive& d = report.dives[i];
        if (!d.known) {
            rows.push_back({d.stamp, "-", "-", "-", "-", "header not known"});
            continue;
        }
        rows.push_back({d.stamp, std::to_string(d.cellMv[0]), std::to_string(d.cellMv[1]),
                        std::to_string(d.batterySoC), std::to_string(d.daysSinceLearn), report.flagsText(i)});
    }
    return rows;
}

}  // namespace ravo
