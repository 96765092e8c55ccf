#pragma once
#include <string>

#include "divedata/draw_list.h"

namespace ravo::cli {

// Paints `list` into a PNG file at `path` (on the offscreen platform, so no
// display is needed). False, with the reason in `error`, when it cannot.
bool WritePngExport(const DrawList& list, const std::string& path, std::string& error);

}  // namespace ravo::cli
