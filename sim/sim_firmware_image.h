#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo::sim {

// A test firmware image for the simulated bootloader: `chunks` chunks of
// `chunkSize` filler bytes (from `seed`), then the closing chunk whose payload
// is "RAVOFW-END", the new main version and the beta number.
std::vector<uint8_t> testFirmwareImage(uint16_t version, int chunks = 8, int chunkSize = 512, uint64_t seed = 1);

// The image as ".enc" text: two upper-case hexadecimal digits per byte.
std::string encText(const std::vector<uint8_t>& image);

// Writes the ".enc" file; false with the reason in `error`.
bool writeTestFirmware(const std::string& path, uint16_t version, int chunks, int chunkSize, std::string& error);

}  // namespace ravo::sim
