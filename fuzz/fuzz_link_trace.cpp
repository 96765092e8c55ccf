// The protocol trace takes whatever the link reads: any bytes, in any
// pieces and after any write, must be written out without fault.
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <string>

#include "link/link_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/dev/null";
    ravo::LinkTrace trace;
    std::string error;
    if (!trace.open(path, error))
        return 0;
    // The first byte chooses the piece size and the firmware generation; a
    // piece that starts with 0x80 or more is written, the others are read.
    if (size == 0)
        return 0;
    const size_t piece = size_t(data[0] & 0x3F) + 1;
    const uint32_t version = (data[0] & 0x40) ? 0x4925 : 0x4512;
    for (size_t at = 1; at < size; at += piece) {
        const size_t n = std::min(piece, size - at);
        if (data[at] >= 0x80)
            trace.sent(data + at, int(n), version);
        else
            trace.received(data + at, int(n), version);
    }
    return 0;
}
