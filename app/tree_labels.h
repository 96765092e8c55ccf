#pragma once
#include <string>

namespace ravo {

// The navigation tree's three selection labels, root first whatever the level
// of the selection: "Ravo unit" / "1A2B" / "Redbox log", or "Dive log" /
// "1A2B" / a saved log's stamp-and-kind part. The tree hands them to the main
// window with each selection.
struct TreeLabels {
    std::string rootLabel;
    std::string unitLabel;
    std::string nodeLabel;
};

}  // namespace ravo
