#include "jobs/firmware_texts.h"

#include "link/c_format.h"

namespace ravo {

std::string elapsedText(uint64_t seconds)
{
    unsigned h = unsigned(seconds / 3600);
    unsigned m = unsigned((seconds - 3600ull * h) / 60);
    unsigned r = unsigned(seconds - 3600ull * h - 60ull * m);
    if (h > 0)
        return formatC("%d:%02d h", int(h), int(m));
    if (m > 0)
        return formatC("%d:%02d min", int(m), int(r));
    return formatC("%d sec", int(r));
}

std::string chunkAnswerLine(uint8_t answer, int chunkNumber)
{
    switch (answer) {
    case kChunkCrcError: return "CRC error by the display";
    case kChunkError: return formatC("Remote unit reported an error in chunk %d", chunkNumber);
    case kChunkExitError: return "Error exiting BS mode";
    default: return formatC("Remote unit reported an unkown error (%02X)", unsigned(answer));
    }
}

}  // namespace ravo
