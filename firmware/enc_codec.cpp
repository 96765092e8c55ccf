#include "firmware/enc_codec.h"

#include <cstdlib>

namespace ravo {

std::vector<uint8_t> decodeEncText(const char* text, size_t size)
{
    std::vector<uint8_t> image(size / 2);
    for (size_t i = 0; i < image.size(); ++i) {
        // strtol on the two characters alone, as the file format defines it.
        char pair[3] = {text[2 * i], text[2 * i + 1], '\0'};
        image[i] = static_cast<uint8_t>(std::strtol(pair, nullptr, 16) & 0xFF);
    }
    return image;
}

namespace {

size_t chunkLengthAt(const uint8_t* image, size_t offset)
{
    return (size_t(image[offset]) << 8) | image[offset + 1];
}

}  // namespace

int countImageChunks(const uint8_t* image, size_t size)
{
    if (!image)
        return 0;
    int count = 0;
    for (size_t offset = 0; size >= 2 && offset <= size - 2; offset += 2 + chunkLengthAt(image, offset))
        ++count;
    return count;
}

}  // namespace ravo
