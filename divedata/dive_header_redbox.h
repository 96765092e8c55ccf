#pragma once
#include <cstdint>
#include <string>

#include "divedata/dive_header_orangebox.h"
#include "divedata/file_messages.h"

namespace ravo {

// The 256-byte header of a redbox log. Only the validity marker, the start
// time, the layout level, the unit serial and the service date are
// interpreted; the other members are named after their byte offset.
class CDiveHeaderRedbox {
public:
    uint8_t raw[kHeaderBytes] = {};
    std::string text;

    bool valid = false;
    uint32_t startTime = 0;
    uint16_t word8 = 0;
    uint8_t byte10 = 0;
    uint32_t dword11 = 0;
    uint16_t word15 = 0;
    uint16_t word17 = 0;
    uint8_t byte19 = 0;
    uint8_t bytes20[5] = {};
    uint8_t layoutLevel = 0;   // 43 or more: the extended members are present
    uint16_t unitSerial = 0;   // the unit number the unit recorded; 0xFFFF none
    uint16_t word28 = 0;
    uint32_t dword30 = 0;
    // Extended layout (layoutLevel >= 43), else 0.
    uint16_t word34 = 0;
    uint32_t serviceDate = 0;  // unit time
    uint16_t word40 = 0;
    uint16_t word42 = 0;
    uint8_t bytes44[10] = {};
    uint16_t word58 = 0;
    uint8_t bytes60[2] = {};
    uint16_t word62 = 0;
    uint8_t bytes64[2] = {};
    uint32_t dword115 = 0;
    uint16_t word119 = 0;
    // Always decoded.
    uint8_t bytes121[3] = {};
    uint16_t words124[3] = {};
    uint32_t dwords130[9] = {};
    uint32_t dwords166[9] = {};
    uint8_t byte202 = 0;

    static constexpr uint8_t kExtendedLayout = 43;

    // Resets the decoded members, decodes `raw` and sets `text` to the banner.
    void Parse();
    // Zeroes `raw` and every member, empties `text`.
    void Reset();
    // As CDiveHeaderOrangebox::ReadOrangeBoxTxt.
    int ReadTxt(const std::string& path, FileMessages* messages = nullptr);
};

}  // namespace ravo
