#pragma once
#include <cstdint>

namespace ravo {

// The unit's fifteen version numbers, all 0 until the versions reply is read.
struct UnitVersions {
    int32_t hudSoftware = 0;
    int32_t hudHardware = 0;
    int32_t hudExtra = 0;
    int32_t displaySoftware = 0;
    int32_t displayHardware = 0;
    int32_t displayExtra = 0;
    int32_t backpackSoftware = 0;
    int32_t backpackHardware = 0;
    int32_t backpackExtra = 0;
    int32_t batterySoftware = 0;
    int32_t batteryHardware = 0;
    int32_t batteryExtra = 0;
    int32_t mainVersion = 0;
    int32_t betaNumber = 0;
    int32_t patchNumber = 0;

    void clear() { *this = UnitVersions{}; }

    // The unit firmware version the handshake and the opcode maps use:
    // main version in the high byte, beta number in the low byte.
    uint32_t firmwareVersion() const
    {
        return ((uint32_t(mainVersion) & 0xFF) << 8) | (uint32_t(betaNumber) & 0xFF);
    }
};

// Decodes the payload of the versions reply, `length` bytes at `payload`.
// Fields the payload does not reach stay 0; every byte is taken unsigned.
UnitVersions decodeUnitVersions(const uint8_t* payload, int length);

}  // namespace ravo
