#pragma once
#include <string>

namespace ravo {

// The navigation tree's three selection labels, root first whatever the level
// of the selection: "Ravo unit" / "1A2B" / "Redbox log", or "Dive log" /
// "1A2B" / a saved log's stamp-and-kind part. UM_TREE_UNIT and
// UM_TREE_SAVED_DIVE carry a pointer to them in lParam, valid during the call.
struct TreeLabels {
    std::string rootLabel;
    std::string unitLabel;
    std::string nodeLabel;
};

}  // namespace ravo
