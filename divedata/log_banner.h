#pragma once
#include "ravo_version.h"

namespace ravo {

// The program's banner, written at the head of header texts and redbox files.
inline constexpr char kLogBanner[] = RAVO_BANNER;

}  // namespace ravo
