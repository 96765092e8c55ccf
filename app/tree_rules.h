#pragma once
#include <string>
#include <vector>

#include "app/tree_labels.h"
#include "divedata/saved_logs.h"

namespace ravo {

// The navigation tree's fixed texts: the two roots and a unit's two log nodes.
inline constexpr char kUnitRoot[] = "Ravo unit";
inline constexpr char kSavedRoot[] = "Dive log";
inline constexpr char kDiveLogNode[] = "Dive log";
inline constexpr char kRedboxLogNode[] = "Redbox log";
// Under each unit of the saved logs, before its logs: the unit's health
// across them. No saved log's stamp-and-kind label reads so.
inline constexpr char kHealthNode[] = "Health";

// The labels of a selection from the texts of the node, its parent and its
// grandparent (empty where there is none), shifted so they read root first.
TreeLabels selectionLabels(const std::string& node, const std::string& parent, const std::string& grandparent);

// Which branch a selection is in: the saved logs under "Dive log", the units
// under "Ravo unit".
enum class TreeBranch { None, Units, SavedLogs };
TreeBranch selectionBranch(const TreeLabels& labels);

// The nodes under a unit of the saved logs, in tree order: "Health", then
// its logs as given (in time order).
std::vector<std::string> SavedUnitNodes(const SavedUnitGroup& group);

// The text of a saved log's node: its stamp-and-kind label, and for a log
// saved before all of it arrived "2012-05-06_14-22-33_O (partial, records
// 4600 of 12000)". A selection still carries the bare label.
std::string SavedLogTreeText(const std::string& label, const SavedLogPartial& partial);

}  // namespace ravo
