#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ravo::sim {

// One log as the unit keeps it: its directory entry, the 256-byte header and
// the 4-byte sample records back to back.
struct SimLog {
    uint32_t startTime = 0;
    uint16_t auxWord = 0;
    std::array<uint8_t, 256> header{};
    std::vector<uint8_t> records;  // a multiple of 4 bytes

    uint32_t recordCount() const { return uint32_t(records.size() / 4); }
};

// Every setting and status value in the encoding the unit keeps and sends.
struct SimSettings {
    uint8_t backlightBrightness = 204;  // raw byte, 255 = 100 %
    uint8_t backlightOffLevel = 64;
    uint8_t metric = 1;
    uint8_t decimalMode = 1;
    uint8_t highResO2 = 1;
    uint16_t setpointSurface = 70;      // centibar
    uint16_t setpointDepth = 130;
    uint8_t vdotO2Damping = 3;
    uint16_t dilN2Percent = 79;
    uint16_t dilHePercent = 0;
    uint16_t oxygenPercent = 99;
    uint8_t oxygenSize = 30;            // decilitres
    uint8_t dilSize = 30;
    uint8_t rmv = 25;                   // litres
    uint16_t counterLungVolume = 57;    // decilitres
    uint16_t hudBrightness = 3;         // steps of 25 %
    uint32_t timeToFly = 0;             // unit time
    uint16_t depthLimit = 600;          // decimetres
    uint16_t dilPressure = 2000;        // decibar
    uint16_t oxygenPressure = 1900;     // decibar
    uint8_t mouthpiecePosition = 1;
    uint8_t decoAvailable = 1;
    uint8_t decoEnabled = 1;
    uint8_t maxTimeToSurface = 30;      // minutes
    uint16_t batterySerial = 0x0A1B;
    uint32_t serviceTime = 0;           // unit time
    uint8_t systemMode = 2;
    uint8_t testNumber = 0;
    uint8_t errorCode = 255;
    uint8_t batteryType = 4;
    uint8_t eModuleType = 2;
    uint16_t otuValue = 37;
    uint8_t tissueResets = 0;           // how often the tissues were reset
};

// One O2 cell: its output, and whether the unit answers for it at all.
struct SimO2Cell {
    uint8_t millivolts = 44;
    bool answers = true;
};

// Fault injection. Zero (or empty) switches a fault off.
struct SimFaults {
    int noiseBytes = 0;            // junk bytes written before every reply
    int splitGapMs = 0;            // every reply in two writes, this far apart
    int corruptEvery = 0;          // every Nth reply carries a wrong check byte
    int ignoreEvery = 0;           // every Nth request is not answered
    int ignoreEntryEvery = 0;      // every Nth log directory entry request is not answered
    std::vector<int> ignoreEntryIndexes;  // directory entries (dive or redbox) never answered
    int replyUnitNumber = -1;      // replies carry this unit number instead
    bool silent = false;           // the unit never answers
    int dropAfter = 0;             // the link drops after this many exchanges
    // Bootloader: the link drops once, right after the answer to this many
    // accepted chunks since the bootloader started.
    int dropAfterChunks = 0;
    // The unit writes junk without end at the line's speed, with start bytes
    // but never an end byte, so no frame ever completes.
    bool noiseStream = false;
    int shortDataRecords = 0;      // data replies carry at most this many records
    // Bootloader: chunk number (1-based, counted by accepted chunks; 0 = every
    // chunk) -> the answer given instead of 0x11 (-1 = none) and how often.
    struct ChunkFault {
        int chunk = 0;
        int answer = 0x44;
        int times = 1;
    };
    std::vector<ChunkFault> chunkFaults;
};

// The time the link needs: ten bits a byte at `baud`, plus the unit's turnaround.
struct SimTiming {
    bool enabled = false;
    int baud = 115200;
    int turnaroundMs = 5;
};

// The whole unit.
struct SimState {
    uint16_t unitNumber = 0x1234;
    uint8_t mainVersion = 0x49;
    uint8_t betaNumber = 0x25;
    // The fifteen version bytes as the versions reply carries them; bytes 8
    // and 9 are replaced by betaNumber and mainVersion.
    std::array<uint8_t, 15> versionBytes{{12, 3, 21, 4, 33, 5, 17, 2, 0, 0, 1, 2, 3, 4, 0}};
    uint16_t batteryMillivolts = 3950;
    SimSettings settings;
    std::array<SimO2Cell, 2> cells{{{44, true}, {46, true}}};
    uint32_t clock = 849398400;         // unit time when the unit was switched on
    std::vector<SimLog> diveLogs;
    std::vector<SimLog> redboxLogs;
    bool inBootloader = false;
    int pendingUnitNumber = -1;         // taken on the next power down (recovery)
    int restartMs = 2000;               // time the unit is unreachable on a restart
    SimTiming timing;
    SimFaults faults;

    uint16_t firmwareVersion() const { return uint16_t(mainVersion << 8 | betaNumber); }
};

}  // namespace ravo::sim
