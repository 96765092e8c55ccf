#include "divedata/dive_header_redbox.h"

#include <cstring>

#include "divedata/detail/le_bytes_p.h"
#include "divedata/detail/text_lines_p.h"
#include "divedata/log_banner.h"
#include "divedata/text_file.h"

namespace ravo {

void CDiveHeaderRedbox::Reset()
{
    *this = CDiveHeaderRedbox{};
}

void CDiveHeaderRedbox::Parse()
{
    using namespace detail;
    uint8_t bytes[kHeaderBytes];
    std::memcpy(bytes, raw, sizeof bytes);
    Reset();
    std::memcpy(raw, bytes, sizeof bytes);

    const uint8_t* r = raw;
    valid = HeaderMarkerValid(r);
    startTime = readU32(r + 4);
    word8 = readU16(r + 8);
    byte10 = r[10];
    dword11 = readU32(r + 11);
    word15 = readU16(r + 15);
    word17 = readU16(r + 17);
    byte19 = r[19];
    std::memcpy(bytes20, r + 20, sizeof bytes20);
    layoutLevel = r[25];
    unitSerial = readU16(r + 26);
    word28 = readU16(r + 28);
    dword30 = readU32(r + 30);
    if (layoutLevel >= kExtendedLayout) {
        word34 = readU16(r + 34);
        serviceDate = readU32(r + 36);
        word40 = readU16(r + 40);
        word42 = readU16(r + 42);
        std::memcpy(bytes44, r + 44, sizeof bytes44);
        word58 = readU16(r + 58);
        std::memcpy(bytes60, r + 60, sizeof bytes60);
        word62 = readU16(r + 62);
        std::memcpy(bytes64, r + 64, sizeof bytes64);
        dword115 = readU32(r + 115);
        word119 = readU16(r + 119);
    }
    std::memcpy(bytes121, r + 121, sizeof bytes121);
    for (int i = 0; i < 3; ++i)
        words124[i] = readU16(r + 124 + 2 * i);
    for (int i = 0; i < 9; ++i) {
        dwords130[i] = readU32(r + 130 + 4 * i);
        dwords166[i] = readU32(r + 166 + 4 * i);
    }
    byte202 = r[202];
    text = kLogBanner;
}

int CDiveHeaderRedbox::ReadTxt(const std::string& path, FileMessages* messages)
{
    if (path.empty())
        return 0;
    Reset();
    std::string reason;
    if (!ReadFirstLine(path, text, 65536, &reason)) {
        reportFileError(messages,
                        FileErrorText("CDiveHeaderRedbox::ReadTxt - Error, can not open file for reading", path, reason));
        return -1;
    }
    return 0;
}

}  // namespace ravo
