#pragma once
#include <cstdint>
#include <string>

#include "divedata/file_messages.h"

namespace ravo {

inline constexpr int kHeaderBytes = 256;

// The 256-byte header of a dive log: the bytes as received, a text line and
// the values decoded from the bytes (raw counts; the scales are in the text).
class CDiveHeaderOrangebox {
public:
    uint8_t raw[kHeaderBytes] = {};
    std::string text;

    bool valid = false;  // bytes 0-3 read FF FF 00 00
    uint32_t startTime = 0;
    uint16_t o2Pressure = 0;   // 0.1 bar
    uint16_t dilPressure = 0;  // 0.1 bar
    uint8_t po2Sensor1 = 0;    // 0.01 bar
    uint8_t po2Sensor2 = 0;    // 0.01 bar
    uint8_t sensor1mV = 0;
    uint8_t sensor2mV = 0;
    uint16_t startDepth = 0;   // 0.1 m
    uint16_t depthOffset = 0;  // 0.1 m
    uint8_t mouthpiece = 0;
    uint16_t loggerVersion = 0;
    uint8_t assumedFO2 = 0;
    uint8_t softwareVersion = 0;
    uint16_t batterySerial = 0;
    uint16_t rigSerial = 0;
    uint16_t numberOfLogs = 0;
    uint8_t daysSinceLearn = 0;
    uint8_t heliumPercent = 0;
    uint8_t nitrogenPercent = 0;
    uint8_t batterySoC = 0;
    uint16_t batteryMillivolts = 0;
    uint16_t batteryCycles = 0;
    uint16_t cumulativeOtu = 0;
    float n2Tension[9] = {};  // compartments 1..9
    float heTension[9] = {};
    int32_t surfaceInterval = 0;
    uint8_t decoRig = 0;

    // Decodes `raw` into the members and sets `text` to the banner.
    void Parse();
    // Zeroes `raw` and every member, empties `text`.
    void Reset();

    // The header text file's content (lines end in CR LF).
    std::string FormatTxt() const;
    // Writes the header text file, replacing an old one atomically. 0, or -1
    // after reporting the failure in `messages`.
    int SaveOrangeBoxTxt(const std::string& path, FileMessages* messages = nullptr);
    // Resets the header and takes the file's first line as `text`; `raw`
    // stays zero. 0, or -1 after reporting that the file could not be opened.
    int ReadOrangeBoxTxt(const std::string& path, FileMessages* messages = nullptr);
};

// "Open Circuit", "Closed Circuit", "Indeterminate" or "Unknown".
const char* MouthpieceText(uint8_t code);

// True when the first four header bytes are FF FF 00 00.
bool HeaderMarkerValid(const uint8_t* raw);

}  // namespace ravo
