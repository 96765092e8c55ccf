#pragma once

namespace ravo {

// The program's banner, written at the head of header texts and redbox files.
inline constexpr char kLogBanner[] = "Ravo_Config v1.35";

}  // namespace ravo
