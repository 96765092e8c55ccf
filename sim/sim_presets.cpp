#include "sim/sim_presets.h"

#include "link/c_format.h"

#include <functional>

#include "sim/sim_log_generator.h"

namespace ravo::sim {
namespace {

constexpr uint32_t kDay = 86400;

struct Preset {
    SimPresetInfo info;
    std::function<SimState()> make;
};

SimState lostNumber()
{
    SimState s = generatedUnit(0x4925, {600, 240}, 3, 11, 0xFFFF);
    // The number went missing after log 0 was written by the damaged unit.
    RedboxPlan lost{.seed = 21, .records = 40, .startTime = s.redboxLogs[0].startTime, .unitSerial = 0xFFFF,
                    .serviceDate = s.settings.serviceTime};
    s.redboxLogs[0] = generateRedbox(lost);
    return s;
}

const std::vector<Preset>& table()
{
    static const std::vector<Preset> presets = {
        {{kDefaultPreset, "firmware 4925 with every status value, 4 dive logs (30 to 3000 records) and 3 redbox logs"},
         [] { return generatedUnit(0x4925, {1200, 30, 3000, 480}, 3, 1); }},
        {{"fw4005", "firmware 4005: first opcode map, handshake variant D (below 4101)"},
         [] { return generatedUnit(0x4005, {300, 90}, 2, 2); }},
        {{"fw4210", "firmware 4210: first opcode map, handshake variant C (4101 to 4302)"},
         [] { return generatedUnit(0x4210, {300, 90}, 2, 3); }},
        {{"fw4512", "firmware 4512: first opcode map, handshake variant B (4303 to 46FF)"},
         [] { return generatedUnit(0x4512, {300, 90}, 2, 4); }},
        {{"fw4700", "firmware 4700: second opcode map, handshake variant A, extended settings"},
         [] { return generatedUnit(0x4700, {300, 90}, 2, 5); }},
        {{"fw4922", "firmware 4922: adds the service time"},
         [] { return generatedUnit(0x4922, {300, 90}, 2, 6); }},
        {{"fw4925", "firmware 4925 with every status value: pre dive test 7 failed with error 3, trimix battery"},
         [] {
             SimState s = generatedUnit(0x4925, {300, 90}, 2, 7);
             s.settings.systemMode = 1;
             s.settings.testNumber = 7;
             s.settings.errorCode = 3;
             s.settings.batteryType = 5;
             s.settings.eModuleType = 2;
             s.settings.otuValue = 123;
             s.settings.dilHePercent = 35;
             s.settings.dilN2Percent = 44;
             return s;
         }},
        {{"lost-number", "firmware 4925 that lost its number: answers as FFFF; redbox log 0 records FFFF, log 1 records 1234"},
         lostNumber},
        {{"low-battery", "firmware 4925 with a low battery (3499 mV)"},
         [] {
             SimState s = generatedUnit(0x4925, {300}, 1, 8);
             s.batteryMillivolts = 3499;
             return s;
         }},
        {{"bootloader", "firmware 4925 waiting in its bootloader"},
         [] {
             SimState s = generatedUnit(0x4925, {300}, 1, 9);
             s.inBootloader = true;
             return s;
         }},
        {{"no-logs", "firmware 4925 without dive or redbox logs"},
         [] { return generatedUnit(0x4925, {}, 0, 10); }},
        {{"long-dive", "firmware 4925 with one long dive of 12000 records and an empty dive log"},
         [] { return generatedUnit(0x4925, {12000, 0}, 1, 12); }},
        {{"sinking-cell", "firmware 4925 with five dives over which O2 cell 2's start output sinks (48 to 38 mV)"},
         [] {
             SimState s = generatedUnit(0x4925, {300, 300, 300, 300, 300}, 1, 14);
             const uint8_t cell2[] = {48, 47, 45, 42, 38};
             for (size_t i = 0; i < s.diveLogs.size(); ++i) {
                 s.diveLogs[i].header[14] = 47;
                 s.diveLogs[i].header[15] = cell2[i];
             }
             return s;
         }},
        {{"dead-cell", "firmware 4925 whose O2 cell 2 does not answer"},
         [] {
             SimState s = generatedUnit(0x4925, {300}, 1, 13);
             s.cells[1].answers = false;
             return s;
         }},
    };
    return presets;
}

}  // namespace

const std::vector<SimPresetInfo>& simPresets()
{
    static const std::vector<SimPresetInfo> infos = [] {
        std::vector<SimPresetInfo> out;
        for (const Preset& p : table())
            out.push_back(p.info);
        return out;
    }();
    return infos;
}

bool presetState(const std::string& name, SimState& out)
{
    std::string wanted = name.empty() ? kDefaultPreset : name;
    for (const Preset& p : table()) {
        if (p.info.name == wanted) {
            out = p.make();
            return true;
        }
    }
    return false;
}

SimState generatedUnit(uint16_t version, const std::vector<uint32_t>& diveRecords, int redboxCount, uint64_t seed,
                       uint16_t unitNumber)
{
    SimState s;
    s.unitNumber = unitNumber;
    s.mainVersion = uint8_t(version >> 8);
    s.betaNumber = uint8_t(version);
    s.settings.serviceTime = s.clock - 200 * kDay;
    s.settings.timeToFly = s.clock + 3 * 3600;
    // The last dive ended a few hours ago; the others a day or more apart.
    uint32_t start = s.clock - 6 * 3600 - uint32_t(diveRecords.size()) * 2 * kDay;
    uint16_t logNumber = 40;
    for (size_t i = 0; i < diveRecords.size(); ++i) {
        DivePlan plan;
        plan.seed = seed * 1000 + i;
        plan.records = diveRecords[i];
        plan.startTime = start + uint32_t(i) * 2 * kDay + uint32_t(i * 3571 % 7200);
        plan.unitNumber = unitNumber;
        plan.softwareVersion = s.mainVersion;
        plan.logNumber = ++logNumber;
        plan.dilN2Percent = s.settings.dilN2Percent;
        plan.dilHePercent = s.settings.dilHePercent;
        plan.batterySerial = s.settings.batterySerial;
        s.diveLogs.push_back(generateDive(plan));
    }
    for (int i = 0; i < redboxCount; ++i) {
        RedboxPlan plan;
        plan.seed = seed * 1000 + 500 + uint64_t(i);
        plan.records = uint32_t(40 + (i * 67) % 160);
        plan.startTime = s.clock - uint32_t(redboxCount - i) * 9 * kDay;
        plan.unitSerial = unitNumber == 0xFFFF ? 0x1234 : unitNumber;
        plan.serviceDate = s.settings.serviceTime;
        plan.softwareVersion = s.mainVersion;
        s.redboxLogs.push_back(generateRedbox(plan));
    }
    return s;
}

}  // namespace ravo::sim

namespace ravo::sim {

std::string presetTable()
{
    std::string table;
    for (const SimPresetInfo& p : simPresets())
        table += formatC("%-12s %s\n", p.name.c_str(), p.description.c_str());
    return table;
}

}  // namespace ravo::sim
