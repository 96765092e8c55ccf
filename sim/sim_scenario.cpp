#include "sim/sim_scenario.h"

#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "firmware/regular_file.h"
#include "link/c_format.h"
#include "sim/sim_log_generator.h"
#include "sim/sim_presets.h"
#include "sim/sim_wire.h"

namespace ravo::sim {
namespace {

using json = nlohmann::json;

// A scenario mistake, reported as one line naming the field.
struct ScenarioError {
    std::string text;
};

[[noreturn]] void fail(const std::string& text) { throw ScenarioError{text}; }

// A number: a JSON number, or a string "0x..." or decimal. With `hexText`, a
// string is read as hexadecimal digits, as unit numbers and versions are shown.
uint64_t number(const json& j, const std::string& name, uint64_t max, bool hexText = false)
{
    uint64_t value = 0;
    if (j.is_number_unsigned()) {
        value = j.get<uint64_t>();
    } else if (j.is_number_integer()) {
        fail(name + " must not be negative");
    } else if (j.is_string()) {
        std::string text = j.get<std::string>();
        int base = hexText ? 16 : 10;
        size_t at = 0;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            at = 2;
        }
        if (at >= text.size() || text.size() - at > 16)
            fail(name + " is not a number: \"" + text + "\"");
        for (size_t i = at; i < text.size(); ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
            if (digit >= base)
                fail(name + " is not a number: \"" + text + "\"");
            value = value * uint64_t(base) + uint64_t(digit);
        }
    } else {
        fail(name + " must be a number");
    }
    if (value > max)
        fail(name + " must be at most " + std::to_string(max));
    return value;
}

bool flag(const json& j, const std::string& name)
{
    if (j.is_boolean())
        return j.get<bool>();
    return number(j, name, 1) != 0;
}

std::vector<uint8_t> hexData(const json& j, const std::string& name)
{
    if (!j.is_string())
        fail(name + " must be a string of hexadecimal digits");
    std::string text;
    for (char c : j.get<std::string>())
        if (c != ' ')
            text += c;
    if (text.size() % 2)
        fail(name + " has an odd number of hexadecimal digits");
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); i += 2)
        out.push_back(uint8_t(number(json("0x" + text.substr(i, 2)), name, 255)));
    return out;
}

#define SETTING(field)                                                                            \
    Setting                                                                                       \
    {                                                                                             \
        #field, [](const SimSettings& s) { return uint32_t(s.field); },                           \
            [](SimSettings& s, uint32_t v) { s.field = decltype(SimSettings::field)(v); },        \
            uint32_t(std::numeric_limits<decltype(SimSettings::field)>::max())                    \
    }

struct Setting {
    const char* name;
    std::function<uint32_t(const SimSettings&)> get;
    std::function<void(SimSettings&, uint32_t)> set;
    uint32_t max;
};

const std::vector<Setting>& settingsTable()
{
    static const std::vector<Setting> table = {
        SETTING(backlightBrightness), SETTING(backlightOffLevel), SETTING(metric), SETTING(decimalMode),
        SETTING(highResO2), SETTING(setpointSurface), SETTING(setpointDepth), SETTING(vdotO2Damping),
        SETTING(dilN2Percent), SETTING(dilHePercent), SETTING(oxygenPercent), SETTING(oxygenSize),
        SETTING(dilSize), SETTING(rmv), SETTING(counterLungVolume), SETTING(hudBrightness),
        SETTING(timeToFly), SETTING(depthLimit), SETTING(dilPressure), SETTING(oxygenPressure),
        SETTING(mouthpiecePosition), SETTING(decoAvailable), SETTING(decoEnabled), SETTING(maxTimeToSurface),
        SETTING(batterySerial), SETTING(serviceTime), SETTING(systemMode), SETTING(testNumber),
        SETTING(errorCode), SETTING(batteryType), SETTING(eModuleType), SETTING(otuValue),
        SETTING(tissueResets),
    };
    return table;
}

void readSettings(const json& j, SimSettings& s)
{
    if (!j.is_object())
        fail("settings must be an object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        const Setting* found = nullptr;
        for (const Setting& row : settingsTable())
            if (it.key() == row.name)
                found = &row;
        if (!found)
            fail("settings." + it.key() + " is not a setting");
        found->set(s, uint32_t(number(it.value(), "settings." + it.key(), found->max)));
    }
}

SimLog readLog(const json& j, const std::string& name, bool dive, const SimState& state, size_t index)
{
    if (!j.is_object())
        fail(name + " must be an object");
    uint32_t start = j.contains("startTime") ? uint32_t(number(j["startTime"], name + ".startTime", 0xFFFFFFFF))
                                             : state.clock - uint32_t(index + 1) * 86400;
    if (j.contains("generate")) {
        uint64_t seed = j.contains("seed") ? number(j["seed"], name + ".seed", UINT64_MAX) : index + 1;
        uint32_t records = uint32_t(j.contains("records") ? number(j["records"], name + ".records", 2000000) : 600);
        if (dive) {
            DivePlan plan;
            plan.seed = seed;
            plan.records = records;
            plan.startTime = start;
            plan.unitNumber = state.unitNumber;
            plan.softwareVersion = state.mainVersion;
            plan.logNumber = uint16_t(index + 1);
            plan.dilN2Percent = state.settings.dilN2Percent;
            plan.dilHePercent = state.settings.dilHePercent;
            plan.batterySerial = state.settings.batterySerial;
            if (j.contains("maxDepth"))
                plan.maxDepthM = double(number(j["maxDepth"], name + ".maxDepth", 120));
            if (j.contains("cellMv")) {
                const json& cells = j["cellMv"];
                if (!cells.is_array() || cells.size() != 2)
                    fail(name + ".cellMv must be two numbers (cell 1 and cell 2, mV)");
                for (int c = 0; c < 2; ++c)
                    plan.cellMv[c] = int(number(cells[size_t(c)], name + ".cellMv", 255));
            }
            return generateDive(plan);
        }
        RedboxPlan plan;
        plan.seed = seed;
        plan.records = records;
        plan.startTime = start;
        plan.unitSerial = uint16_t(j.contains("unitSerial") ? number(j["unitSerial"], name + ".unitSerial", 0xFFFF, true)
                                                            : state.unitNumber);
        plan.serviceDate = uint32_t(j.contains("serviceDate") ? number(j["serviceDate"], name + ".serviceDate", 0xFFFFFFFF)
                                                              : state.settings.serviceTime);
        plan.layoutLevel = uint8_t(j.contains("layoutLevel") ? number(j["layoutLevel"], name + ".layoutLevel", 255) : 43);
        plan.softwareVersion = state.mainVersion;
        return generateRedbox(plan);
    }
    SimLog log;
    log.startTime = start;
    if (j.contains("auxWord"))
        log.auxWord = uint16_t(number(j["auxWord"], name + ".auxWord", 0xFFFF));
    if (j.contains("header")) {
        std::vector<uint8_t> header = hexData(j["header"], name + ".header");
        if (header.size() > 256)
            fail(name + ".header holds more than 256 bytes");
        std::copy(header.begin(), header.end(), log.header.begin());
    }
    if (j.contains("records")) {
        log.records = hexData(j["records"], name + ".records");
        if (log.records.size() % 4)
            fail(name + ".records must be whole 4-byte records");
    }
    return log;
}

void readLogs(const json& j, const std::string& name, bool dive, SimState& s, std::vector<SimLog>& out)
{
    if (!j.is_array())
        fail(name + " must be an array");
    out.clear();
    for (size_t i = 0; i < j.size(); ++i)
        out.push_back(readLog(j[i], name + "[" + std::to_string(i) + "]", dive, s, i));
}

void readFaults(const json& j, SimFaults& f)
{
    if (!j.is_object())
        fail("faults must be an object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        const std::string& key = it.key();
        const json& v = it.value();
        std::string name = "faults." + key;
        if (key == "noiseBytes") f.noiseBytes = int(number(v, name, 64));
        else if (key == "splitGapMs") f.splitGapMs = int(number(v, name, 60000));
        else if (key == "corruptEvery") f.corruptEvery = int(number(v, name, 1000000));
        else if (key == "ignoreEvery") f.ignoreEvery = int(number(v, name, 1000000));
        else if (key == "ignoreEntryEvery") f.ignoreEntryEvery = int(number(v, name, 1000000));
        else if (key == "replyUnitNumber") f.replyUnitNumber = v.is_null() ? -1 : int(number(v, name, 0xFFFF, true));
        else if (key == "silent") f.silent = flag(v, name);
        else if (key == "dropAfter") f.dropAfter = int(number(v, name, 1000000));
        else if (key == "dropAfterChunks") f.dropAfterChunks = int(number(v, name, 1000000));
        else if (key == "noiseStream") f.noiseStream = flag(v, name);
        else if (key == "shortDataRecords") f.shortDataRecords = int(number(v, name, 25));
        else if (key == "chunkFaults") {
            if (!v.is_array())
                fail(name + " must be an array");
            f.chunkFaults.clear();
            for (const json& row : v) {
                if (!row.is_object())
                    fail(name + " entries must be objects");
                SimFaults::ChunkFault cf;
                cf.chunk = row.contains("chunk") ? int(number(row["chunk"], name + ".chunk", 1000000)) : 0;
                if (row.contains("answer")) {
                    const json& a = row["answer"];
                    cf.answer = a.is_string() && a.get<std::string>() == "none" ? -1 : int(number(a, name + ".answer", 255, true));
                }
                cf.times = row.contains("times") ? int(number(row["times"], name + ".times", 1000000)) : 1;
                f.chunkFaults.push_back(cf);
            }
        } else if (key == "ignoreEntryIndexes") {
            if (!v.is_array())
                fail(name + " must be an array");
            f.ignoreEntryIndexes.clear();
            for (const json& index : v)
                f.ignoreEntryIndexes.push_back(int(number(index, name, 0xFFFF)));
        } else fail(name + " is not a fault");
    }
}

void readTiming(const json& j, SimTiming& t)
{
    if (!j.is_object())
        fail("timing must be an object");
    if (j.contains("enabled")) t.enabled = flag(j["enabled"], "timing.enabled");
    if (j.contains("baud")) t.baud = int(number(j["baud"], "timing.baud", 4000000));
    if (j.contains("turnaroundMs")) t.turnaroundMs = int(number(j["turnaroundMs"], "timing.turnaroundMs", 60000));
    if (t.baud < 50)
        fail("timing.baud must be at least 50");
}

const char* const kKeys[] = {"preset", "unitNumber", "firmware", "versionBytes", "batteryMillivolts", "clock",
                             "inBootloader", "restartMs", "o2Cells", "settings", "diveLogs", "redboxLogs",
                             "timing", "faults", "pendingUnitNumber"};

void readScenario(const json& j, SimState& s)
{
    if (!j.is_object())
        fail("a scenario is a JSON object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        bool known = false;
        for (const char* key : kKeys)
            known = known || it.key() == key;
        if (!known)
            fail("\"" + it.key() + "\" is not a scenario field");
    }
    std::string preset = j.contains("preset") ? (j["preset"].is_string() ? j["preset"].get<std::string>() : "?") : "";
    if (!presetState(preset, s))
        fail("unknown preset \"" + preset + "\"");
    if (j.contains("unitNumber")) s.unitNumber = uint16_t(number(j["unitNumber"], "unitNumber", 0xFFFF, true));
    if (j.contains("firmware")) {
        uint16_t v = uint16_t(number(j["firmware"], "firmware", 0xFFFF, true));
        s.mainVersion = uint8_t(v >> 8);
        s.betaNumber = uint8_t(v);
    }
    if (j.contains("versionBytes")) {
        const json& v = j["versionBytes"];
        if (!v.is_array() || v.size() != 15)
            fail("versionBytes must be an array of 15 numbers");
        for (size_t i = 0; i < 15; ++i)
            s.versionBytes[i] = uint8_t(number(v[i], "versionBytes", 255));
    }
    if (j.contains("batteryMillivolts")) s.batteryMillivolts = uint16_t(number(j["batteryMillivolts"], "batteryMillivolts", 0xFFFF));
    if (j.contains("clock")) s.clock = uint32_t(number(j["clock"], "clock", 0xFFFFFFFF));
    if (j.contains("inBootloader")) s.inBootloader = flag(j["inBootloader"], "inBootloader");
    if (j.contains("restartMs")) s.restartMs = int(number(j["restartMs"], "restartMs", 600000));
    if (j.contains("pendingUnitNumber"))
        s.pendingUnitNumber = j["pendingUnitNumber"].is_null() ? -1 : int(number(j["pendingUnitNumber"], "pendingUnitNumber", 0xFFFF, true));
    if (j.contains("o2Cells")) {
        const json& v = j["o2Cells"];
        if (!v.is_array() || v.size() != 2)
            fail("o2Cells must be an array of two cells");
        for (size_t i = 0; i < 2; ++i) {
            if (!v[i].is_object())
                fail("o2Cells entries must be objects");
            if (v[i].contains("millivolts")) s.cells[i].millivolts = uint8_t(number(v[i]["millivolts"], "o2Cells.millivolts", 255));
            if (v[i].contains("answers")) s.cells[i].answers = flag(v[i]["answers"], "o2Cells.answers");
        }
    }
    if (j.contains("settings")) readSettings(j["settings"], s.settings);
    if (j.contains("diveLogs")) readLogs(j["diveLogs"], "diveLogs", true, s, s.diveLogs);
    if (j.contains("redboxLogs")) readLogs(j["redboxLogs"], "redboxLogs", false, s, s.redboxLogs);
    if (j.contains("timing")) readTiming(j["timing"], s.timing);
    if (j.contains("faults")) readFaults(j["faults"], s.faults);
}

std::string hexCompact(const uint8_t* data, size_t n)
{
    std::string spaced = hexBytes(data, n);
    std::string out;
    for (char c : spaced)
        if (c != ' ')
            out += c;
    return out;
}

json logToJson(const SimLog& log)
{
    return json{{"startTime", log.startTime},
                {"auxWord", log.auxWord},
                {"header", hexCompact(log.header.data(), log.header.size())},
                {"records", hexCompact(log.records.data(), log.records.size())}};
}

}  // namespace

bool loadScenario(const std::string& text, SimState& out, std::string& error)
{
    try {
        json j = json::parse(text);
        SimState s;
        readScenario(j, s);
        out = std::move(s);
        return true;
    } catch (const ScenarioError& e) {
        error = "Scenario: " + e.text;
    } catch (const json::exception& e) {
        error = std::string("Scenario: not valid JSON: ") + e.what();
    } catch (const std::exception& e) {
        error = std::string("Scenario: ") + e.what();
    }
    return false;
}

bool loadScenarioFile(const std::string& path, SimState& out, std::string& error)
{
    // A pipe would hold the simulator at the open for ever, a device never end.
    std::string text;
    RegularFileCheck check;
    if (!ReadRegularFile(path, kSampleFileMaxBytes, text, &check)) {
        error = "Scenario: cannot read " + path + ": " + check.reason;
        return false;
    }
    return loadScenario(text, out, error);
}

json stateToJson(const SimState& s)
{
    json j;
    j["unitNumber"] = formatC("%04X", unsigned(s.unitNumber));
    j["firmware"] = formatC("%04X", unsigned(s.firmwareVersion()));
    j["versionBytes"] = s.versionBytes;
    j["batteryMillivolts"] = s.batteryMillivolts;
    j["clock"] = s.clock;
    j["inBootloader"] = s.inBootloader;
    j["restartMs"] = s.restartMs;
    j["pendingUnitNumber"] = s.pendingUnitNumber < 0 ? json(nullptr) : json(formatC("%04X", unsigned(s.pendingUnitNumber)));
    j["o2Cells"] = json::array();
    for (const SimO2Cell& c : s.cells)
        j["o2Cells"].push_back({{"millivolts", c.millivolts}, {"answers", c.answers}});
    json settings = json::object();
    for (const Setting& row : settingsTable())
        settings[row.name] = row.get(s.settings);
    j["settings"] = settings;
    j["diveLogs"] = json::array();
    for (const SimLog& log : s.diveLogs)
        j["diveLogs"].push_back(logToJson(log));
    j["redboxLogs"] = json::array();
    for (const SimLog& log : s.redboxLogs)
        j["redboxLogs"].push_back(logToJson(log));
    j["timing"] = {{"enabled", s.timing.enabled}, {"baud", s.timing.baud}, {"turnaroundMs", s.timing.turnaroundMs}};
    json faults = {{"noiseBytes", s.faults.noiseBytes},
                   {"splitGapMs", s.faults.splitGapMs},
                   {"corruptEvery", s.faults.corruptEvery},
                   {"ignoreEvery", s.faults.ignoreEvery},
                   {"ignoreEntryEvery", s.faults.ignoreEntryEvery},
                   {"replyUnitNumber", s.faults.replyUnitNumber < 0 ? json(nullptr)
                                                                  : json(formatC("%04X", unsigned(s.faults.replyUnitNumber)))},
                   {"silent", s.faults.silent},
                   {"dropAfter", s.faults.dropAfter},
                   {"dropAfterChunks", s.faults.dropAfterChunks},
                   {"noiseStream", s.faults.noiseStream},
                   {"shortDataRecords", s.faults.shortDataRecords}};
    faults["chunkFaults"] = json::array();
    for (const auto& cf : s.faults.chunkFaults)
        faults["chunkFaults"].push_back({{"chunk", cf.chunk},
                                         {"answer", cf.answer < 0 ? json("none") : json(formatC("%02X", unsigned(cf.answer)))},
                                         {"times", cf.times}});
    faults["ignoreEntryIndexes"] = s.faults.ignoreEntryIndexes;
    j["faults"] = faults;
    return j;
}

}  // namespace ravo::sim
