#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "divedata/unit_health.h"
#include "firmware/file_util.h"
#include "link/unit_number.h"

namespace ravo::cli {
namespace {

struct HealthOptions {
    std::string unit;
    std::string folder;
};

const char* ruleName(HealthRule rule)
{
    switch (rule) {
    case HealthRule::OutOfBand: return "outOfBand";
    case HealthRule::BelowMedian: return "belowMedian";
    case HealthRule::ApartFromPartner: return "apartFromPartner";
    }
    return "";
}

Json healthJson(const HealthReport& report, const std::string& folder)
{
    const HealthThresholds& t = report.thresholds;
    Json doc = Json::object();
    doc["unit"] = report.unit;
    putName(doc, "folder", folder);
    doc["warning"] = HealthWarningLine(report);
    doc["thresholds"] = {{"plausibleLowMv", t.plausibleLowMv},   {"plausibleHighMv", t.plausibleHighMv},
                         {"medianDives", t.medianDives},         {"medianMinDives", t.medianMinDives},
                         {"dropShare", t.dropShare},             {"partnerShare", t.partnerShare}};
    Json dives = Json::array();
    for (size_t i = 0; i < report.dives.size(); ++i) {
        const HealthDive& d = report.dives[i];
        Json dive = Json::object();
        putName(dive, "log", d.stamp);
        dive["known"] = d.known;
        dive["partial"] = d.partial;
        if (d.known) {
            dive["cell1mV"] = d.cellMv[0];
            dive["cell2mV"] = d.cellMv[1];
            dive["batterySoC"] = d.batterySoC;
            dive["daysSinceLearn"] = d.daysSinceLearn;
        }
        Json flags = Json::array();
        for (const HealthFlag& f : report.flags)
            if (f.dive == i)
                flags.push_back({{"cell", f.cell}, {"rule", ruleName(f.rule)}, {"text", f.text}});
        dive["flags"] = flags;
        dives.push_back(dive);
    }
    doc["dives"] = dives;
    return doc;
}

int runHealth(CliContext& context, const HealthOptions& o)
{
    const std::string folder = absolutePath(o.folder.empty() ? context.app.config.diveFolder : o.folder);
    const std::string unit = formatUnitNumber(parseUnitNumber(o.unit));
    const HealthReport report = AssessHealth(unit, ReadHealthDives(folder, unit));
    if (report.dives.empty()) {
        std::fprintf(stderr, "No saved dives of unit %s in %s\n", unit.c_str(), folder.c_str());
        return kExitFailed;
    }
    if (context.output.json) {
        printJson(healthJson(report, folder));
        return kExitOk;
    }
    std::fputs((HealthWarningLine(report) + "\n").c_str(), stdout);
    for (const std::vector<std::string>& row : HealthTableRows(report)) {
        std::string line;
        for (const std::string& cell : row)
            line += (line.empty() ? "" : "\t") + cell;
        std::fputs((line + "\n").c_str(), stdout);
    }
    return kExitOk;
}

}  // namespace

CliCommand healthCommand()
{
    auto options = std::make_shared<HealthOptions>();
    return {"health",
            "The unit's health across its saved dives, in date order: the warning line, then per dive the two O2 "
            "cells' start mV, the battery's charge, the days since the learn cycle and the flags raised (rules in "
            "the README).",
            [options](CLI::App& sub) {
                sub.add_option("UNIT", options->unit, "The unit as `saved` lists it (\"1A2B\")")->required();
                sub.add_option("--folder", options->folder, "The dive folder to read (default: DIVEFOLDER)");
            },
            [options](CliContext& context) { return runHealth(context, *options); },
            true};
}

}  // namespace ravo::cli
