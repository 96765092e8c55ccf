#include "divedata/dive_header_orangebox.h"

#include "divedata/detail/le_bytes_p.h"
#include "divedata/detail/text_lines_p.h"
#include "divedata/log_banner.h"
#include "divedata/text_file.h"
#include "link/unit_time.h"
#include "divedata/detail/text_format_p.h"

namespace ravo {

namespace detail {

void appendHexDump(std::string& out, const uint8_t* raw, int count)
{
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        if (i % 64 == 0)
            out += "\r\n";
        out += ' ';
        out += digits[raw[i] >> 4];
        out += digits[raw[i] & 15];
    }
}

}  // namespace detail

bool HeaderMarkerValid(const uint8_t* raw)
{
    return raw[0] == 0xFF && raw[1] == 0xFF && raw[2] == 0x00 && raw[3] == 0x00;
}

const char* MouthpieceText(uint8_t code)
{
    switch (code) {
    case 0: return "Open Circuit";
    case 1: return "Closed Circuit";
    case 2: return "Indeterminate";
    default: return "Unknown";
    }
}

void CDiveHeaderOrangebox::Reset()
{
    *this = CDiveHeaderOrangebox{};
}

void CDiveHeaderOrangebox::Parse()
{
    using namespace detail;
    const uint8_t* r = raw;
    valid = HeaderMarkerValid(r);
    startTime = readU32(r + 4);
    o2Pressure = readU16(r + 8);
    dilPressure = readU16(r + 10);
    po2Sensor1 = r[12];
    po2Sensor2 = r[13];
    sensor1mV = r[14];
    sensor2mV = r[15];
    startDepth = readU16(r + 16);
    depthOffset = readU16(r + 18);
    mouthpiece = r[20];
    loggerVersion = readU16(r + 21);
    assumedFO2 = r[23];
    softwareVersion = r[24];
    batterySerial = readU16(r + 25);
    rigSerial = readU16(r + 27);
    numberOfLogs = readU16(r + 29);
    daysSinceLearn = r[31];
    heliumPercent = r[32];
    nitrogenPercent = r[33];
    batterySoC = r[34];
    batteryMillivolts = readU16(r + 35);
    batteryCycles = readU16(r + 37);
    cumulativeOtu = readU16(r + 39);
    for (int i = 0; i < 9; ++i) {
        n2Tension[i] = readFloat(r + 41 + 4 * i);
        heTension[i] = readFloat(r + 77 + 4 * i);
    }
    surfaceInterval = readI32(r + 113);
    decoRig = r[117];
    text = kLogBanner;
}

std::string CDiveHeaderOrangebox::FormatTxt() const
{
    std::string out = text + "\r\n";
    detail::appendHexDump(out, raw, kHeaderBytes);
    out += "\r\n\r\n";
    out += valid ? "Header is valid\r\n" : "Header is NOT valid\r\n";
    out += detail::textC("Dive started at            : %s\r\n", FormatUnitTime(startTime).c_str());
    out += detail::textC("Starting O2 Pressure(Bar)  : %0.1f\r\n", o2Pressure * 0.1);
    out += detail::textC("Starting Dil Pressure(Bar) : %0.1f\r\n", dilPressure * 0.1);
    out += detail::textC("Starting PO2 Sensor 1 (Bar): %0.2f\r\n", po2Sensor1 * 0.01);
    out += detail::textC("Starting PO2 Sensor 2 (Bar): %0.2f\r\n", po2Sensor2 * 0.01);
    out += detail::textC("Starting PO2 Sensor 1 (mV) : %d\r\n", sensor1mV);
    out += detail::textC("Starting PO2 Sensor 2 (mV) : %d\r\n", sensor2mV);
    out += detail::textC("Starting Depth (m)         : %0.1f\r\n", startDepth * 0.1);
    out += detail::textC("Depth offset (m)           : %0.1f\r\n", depthOffset * 0.1);
    out += detail::textC("Mouthpiece Position        : %s (%d)\r\n", MouthpieceText(mouthpiece), mouthpiece);
    out += detail::textC("Version number of logger   : %d\r\n", loggerVersion);
    out += detail::textC("Assumed FO2 of oxygen      : %d\r\n", assumedFO2);
    out += detail::textC("Software version           : %d\r\n", softwareVersion);
    out += detail::textC("Battery Serial number      : %04X\r\n", batterySerial);
    out += detail::textC("Rig Serial number          : %04X\r\n", rigSerial);
    out += detail::textC("Number of logs             : %d\r\n", numberOfLogs);
    out += detail::textC("Days since learn cycle     : %d\r\n", daysSinceLearn);
    out += detail::textC("Helium percentage          : %d\r\n", heliumPercent);
    out += detail::textC("Nitrogen percentage        : %d\r\n", nitrogenPercent);
    out += detail::textC("Battery SoC (%%)            : %d\r\n", batterySoC);
    out += detail::textC("Battery millivoltage       : %d\r\n", batteryMillivolts);
    out += detail::textC("Battery cycles             : %d\r\n", batteryCycles);
    out += detail::textC("Cumulative OTUs            : %d\r\n", cumulativeOtu);
    for (int i = 0; i < 9; ++i)
        out += detail::textC("Nitrogen tension %d         : %0.4f\r\n", i + 1, double(n2Tension[i]));
    for (int i = 0; i < 9; ++i)
        out += detail::textC("Helium tension %d           : %0.4f\r\n", i + 1, double(heTension[i]));
    out += detail::textC("Surface interval           : %d\r\n", surfaceInterval);
    out += detail::textC("Deco rig                   : %d\r\n", decoRig);
    return out;
}

int CDiveHeaderOrangebox::SaveOrangeBoxTxt(const std::string& path, FileMessages* messages)
{
    std::string reason;
    if (WriteFileReplacing(path, FormatTxt(), &reason) != 0) {
        reportFileError(messages, FileErrorText("CDiveHeaderOrangebox::SaveOrangeBoxTxt - Error, can not open file "
                                                "for writing",
                                                path, reason));
        return -1;
    }
    return 0;
}

int CDiveHeaderOrangebox::ReadOrangeBoxTxt(const std::string& path, FileMessages* messages)
{
    if (path.empty())
        return 0;
    Reset();
    std::string reason;
    if (!ReadFirstLine(path, text, 65536, &reason)) {
        reportFileError(messages, FileErrorText("CDiveHeaderOrangebox::ReadOrangeBoxTxt - Error, can not open file "
                                                "for reading",
                                                path, reason));
        return -1;
    }
    return 0;
}

}  // namespace ravo
