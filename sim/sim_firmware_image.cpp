#include "sim/sim_firmware_image.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "sim/sim_log_generator.h"

namespace ravo::sim {

std::vector<uint8_t> testFirmwareImage(uint16_t version, int chunks, int chunkSize, uint64_t seed)
{
    SimRandom rnd(seed);
    size_t size = size_t(std::clamp(chunkSize, 1, 0x7FFF));
    std::vector<uint8_t> image;
    for (int c = 0; c < chunks; ++c) {
        image.push_back(uint8_t(size >> 8));
        image.push_back(uint8_t(size));
        for (size_t i = 0; i < size; ++i)
            image.push_back(uint8_t(rnd.next() >> 32));
    }
    const char marker[] = "RAVOFW-END";
    size_t last = std::strlen(marker) + 2;
    image.push_back(uint8_t(last >> 8));
    image.push_back(uint8_t(last));
    image.insert(image.end(), marker, marker + std::strlen(marker));
    image.push_back(uint8_t(version >> 8));
    image.push_back(uint8_t(version));
    return image;
}

std::string encText(const std::vector<uint8_t>& image)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(image.size() * 2);
    for (uint8_t b : image) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

bool writeTestFirmware(const std::string& path, uint16_t version, int chunks, int chunkSize, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "Cannot write " + path;
        return false;
    }
    out << encText(testFirmwareImage(version, chunks, chunkSize));
    out.close();
    if (!out) {
        error = "Cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace ravo::sim
