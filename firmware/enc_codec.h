#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravo {

// Decodes the text of an ".enc" file: byte i is strtol(base 16) of characters
// 2i and 2i+1 (sign and leading blanks as strtol takes them), low 8 bits kept.
// A trailing odd character is ignored; a pair that is not a number gives 0.
std::vector<uint8_t> decodeEncText(const char* text, size_t size);

// Chunks of a firmware image: one per 2-byte big-endian length header, walking
// from offset 0 by length + 2 while at least two bytes remain. An image of
// fewer than two bytes has none.
int countImageChunks(const uint8_t* image, size_t size);

}  // namespace ravo
