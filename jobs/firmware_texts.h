#pragma once
#include <cstdint>
#include <string>

#include "link/bootloader_answers.h"

namespace ravo {

// The elapsed-time text of a download after `seconds` whole seconds:
// "%d:%02d h", "%d:%02d min" or "%d sec".
std::string elapsedText(uint64_t seconds);

// Shown in the unknown-error line when no byte at all arrived.
inline constexpr uint8_t kNoAnswer = 0xFF;

// The status line for a failed chunk answer (every answer but 0x11), with the
// 1-based chunk number for 0x44.
std::string chunkAnswerLine(uint8_t answer, int chunkNumber);

}  // namespace ravo
