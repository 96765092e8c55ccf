#include <functional>
#include <initializer_list>

#include "jobs/unit_info_steps.h"
#include "jobs/job_context.h"
#include "link/ir_comm.h"

namespace ravo {
namespace {

using Read = std::function<int(irda_cmd&, UnitSettings&)>;

// A yes/no setting read into the record's byte flag.
int readFlag(int (irda_cmd::*get)(bool&), irda_cmd& link, uint8_t& field)
{
    bool value = false;
    int ok = (link.*get)(value);
    field = value ? 1 : 0;
    return ok;
}

// The reads before the handshake, in the order the unit is asked. Each must
// answer, except the O2 cells, which read -1 when they do not.
const std::vector<Read>& openReads()
{
    static const std::vector<Read> reads = {
        [](irda_cmd& l, UnitSettings& s) { return l.GetBacklight(s.backlightBrightness, s.backlightOffLevel); },
        [](irda_cmd& l, UnitSettings& s) { return readFlag(&irda_cmd::GetMetric, l, s.metric); },
        [](irda_cmd& l, UnitSettings& s) { return readFlag(&irda_cmd::GetDecimal, l, s.decimalMode); },
        [](irda_cmd& l, UnitSettings& s) { return readFlag(&irda_cmd::GetHighRes, l, s.highResO2); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetSetpointSurface(s.setpointSurface); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetSetpointDepth(s.setpointDepth); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetVdotDamping(s.vdotO2Damping); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetBatteryVoltage(s.batteryVoltage); },
        [](irda_cmd& l, UnitSettings& s) {
            if (!l.GetO2Sensor1(s.o2Sensor1mV))
                s.o2Sensor1mV = -1;
            return 1;
        },
        [](irda_cmd& l, UnitSettings& s) {
            if (!l.GetO2Sensor2(s.o2Sensor2mV))
                s.o2Sensor2mV = -1;
            return 1;
        },
        [](irda_cmd& l, UnitSettings& s) { return l.GetDilN2(s.dilN2Percent); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetDilHe(s.dilHePercent); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetOxygenPart(s.oxygenPercent); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetOxygenSize(s.oxygenSize); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetDilSize(s.dilSize); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetRmv(s.rmv); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetCounterLung(s.counterLungVolume); },
        [](irda_cmd& l, UnitSettings& s) {
            uint16_t v = 0;
            int ok = l.GetHudBrightness(v);
            s.hudBrightness = v;
            return ok;
        },
        [](irda_cmd& l, UnitSettings& s) { return l.GetClock(s.rtcTime); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetTimeToFly(s.timeToFly); },
    };
    return reads;
}

// The reads after the handshake that must answer.
const std::vector<Read>& protectedReads()
{
    static const std::vector<Read> reads = {
        [](irda_cmd& l, UnitSettings& s) { return l.GetOxygenPressure(s.oxygenPressure); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetDilPressure(s.dilPressure); },
        [](irda_cmd& l, UnitSettings& s) { return l.GetMouthpiece(s.mouthpiecePosition); },
    };
    return reads;
}

// Optional reads: the field changes only when the unit answers, because the
// command layer zeroes its output on failure.
template <typename T, typename Out>
void optional(int ok, const T& value, Out& field)
{
    if (ok)
        field = Out(value);
}

void readExtendedValues(irda_cmd& l, UnitSettings& s)
{
    double depth = 0;
    optional(l.GetDepthLimit(depth), depth, s.depthLimit);
    s.hasExtendedInfo = 1;
    bool available = s.decoAvailable != 0;
    optional(l.GetDecoAvailable(available), available, s.decoAvailable);
    bool enabled = false;
    optional(l.GetDecoEnabled(enabled), enabled, s.decoEnabled);
    int minutes = 0;
    optional(l.GetMaxTts(minutes), minutes, s.maxTimeToSurface);
    uint16_t serial = 0;
    optional(l.GetBatterySerial(serial), serial, s.batterySerial);
}

void readServiceTime(irda_cmd& l, UnitSettings& s)
{
    s.hasServiceTime = 1;
    uint32_t time = 0;
    optional(l.GetServiceTime(time), time, s.serviceTime);
}

void readStatusValues(irda_cmd& l, UnitSettings& s)
{
    s.hasStatusInfo = 1;
    uint8_t mode = 0, test = 0, error = 0;
    if (l.GetSystemMode(mode, test, error)) {
        s.systemMode = mode;
        s.testNumber = test;
        s.errorCode = error;
    }
    uint8_t battery = 0, module = 0;
    if (l.GetModuleTypes(battery, module)) {
        s.batteryType = battery;
        s.eModuleType = module;
    }
    uint16_t otu = 0;
    optional(l.GetOtu(otu), otu, s.otuValue);
}

}  // namespace

int ReadSettings(JobContext& task, UnitSettings& s)
{
    s.reset();
    if (!task.link.IsConnected())
        return -1;
    task.line("Reading settings list... wait");
    if (task.stopCheck())
        return -1;

    for (const Read& read : openReads()) {
        if (!read(task.link, s))
            return -2;
        if (task.stopCheck())
            return -1;
    }

    const uint32_t version = task.versions.firmwareVersion();
    if (task.link.Handshake(version) != 1)
        return -1;
    if (task.stopCheck())
        return -1;
    for (const Read& read : protectedReads()) {
        if (!read(task.link, s))
            return -2;
        if (task.stopCheck())
            return -1;
    }

    if (version >= kFirmwareSecondMap) {
        readExtendedValues(task.link, s);
        if (task.stopCheck())
            return -1;
    }
    if (version >= kFirmwareServiceTime) {
        readServiceTime(task.link, s);
        if (task.stopCheck())
            return -1;
    }
    if (version >= kFirmwareStatusInfo) {
        readStatusValues(task.link, s);
        if (task.stopCheck())
            return -1;
    }
    task.line("Reading settings list... done");
    s.valid = 1;
    return 1;
}

}  // namespace ravo
