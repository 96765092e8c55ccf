#pragma once
#include <cstdint>

namespace ravo {

// The record of the unit's settings and status values, in the units the unit
// itself uses (bar, litres, metres, minutes, percent). A plain value that is
// copied whole; `valid` is set only when a whole settings read finished.
struct UnitSettings {
    uint8_t valid = 0;
    int32_t backlightBrightness = 50;  // percent 0..100
    int32_t backlightOffLevel = 25;    // percent 0..100
    uint8_t metric = 1;
    uint8_t decimalMode = 1;
    uint8_t highResO2 = 1;
    double setpointSurface = 0.5;  // bar
    double setpointDepth = 1.2;    // bar
    int32_t vdotO2Damping = 1;
    int32_t dilN2Percent = 79;
    int32_t dilHePercent = 0;
    int32_t oxygenPercent = 99;
    double oxygenSize = 3.0;  // litres
    double dilSize = 3.0;     // litres
    int32_t rmv = 30;         // litres
    double counterLungVolume = 5.7;  // litres
    int32_t hudBrightness = 100;     // percent, steps of 25
    uint32_t rtcTime = 0;            // unit time
    uint32_t timeToFly = 0;          // unit time
    double depthLimit = 40.0;        // metres
    double dilPressure = 200.0;      // bar
    double oxygenPressure = 130.0;   // bar
    double batteryVoltage = 0;       // volts
    int32_t o2Sensor1mV = 0;         // -1 when the cell did not answer
    int32_t o2Sensor2mV = 0;
    int32_t mouthpiecePosition = 0;  // 0 open circuit, 1 closed circuit, 2 indeterminate
    uint8_t hasExtendedInfo = 0;
    uint8_t decoAvailable = 0;
    uint8_t decoEnabled = 0;
    int32_t maxTimeToSurface = 0;  // minutes
    int32_t batterySerial = 0xFFFF;
    uint8_t hasServiceTime = 0;
    uint32_t serviceTime = 0;  // unit time
    uint8_t hasStatusInfo = 0;
    int32_t batteryType = 0;
    int32_t eModuleType = 0;
    int32_t systemMode = 0;
    int32_t testNumber = 0;
    int32_t errorCode = 0;  // 255: none
    int32_t otuValue = 0;

    // Back to the defaults, before anything was read.
    void reset() { *this = UnitSettings{}; }
};

// Firmware thresholds of what the unit supports (versions compared unsigned).
inline constexpr uint32_t kFirmwareSecondMap = 0x4700;
inline constexpr uint32_t kFirmwareServiceTime = 0x4922;
inline constexpr uint32_t kFirmwareStatusInfo = 0x4925;

}  // namespace ravo
