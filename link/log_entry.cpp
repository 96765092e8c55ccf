#include "link/log_entry.h"

namespace ravo {
namespace {

uint32_t littleEndian(const uint8_t* bytes, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

}  // namespace

LogDirectoryEntry DecodeLogEntry(const uint8_t* payload, size_t length)
{
    LogDirectoryEntry entry;
    if (!payload)
        return entry;
    if (length >= 4)
        entry.startTime = littleEndian(payload, 4);
    if (length >= 8)
        entry.recordCount = littleEndian(payload + 4, 4);
    if (length >= 10)
        entry.auxWord = uint16_t(littleEndian(payload + 8, 2));
    return entry;
}

}  // namespace ravo
