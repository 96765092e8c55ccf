#include "app/tree_rules.h"

namespace ravo {

TreeLabels selectionLabels(const std::string& node, const std::string& parent, const std::string& grandparent)
{
    TreeLabels labels{grandparent, parent, node};
    for (int i = 0; i < 2; ++i) {
        if (!labels.rootLabel.empty())
            break;
        labels.rootLabel = labels.unitLabel;
        labels.unitLabel = labels.nodeLabel;
        labels.nodeLabel.clear();
    }
    return labels;
}

TreeBranch selectionBranch(const TreeLabels& labels)
{
    if (labels.rootLabel == kSavedRoot)
        return TreeBranch::SavedLogs;
    if (labels.rootLabel == kUnitRoot)
        return TreeBranch::Units;
    return TreeBranch::None;
}

std::vector<std::string> SavedUnitNodes(const SavedUnitGroup& group)
{
    std::vector<std::string> nodes{kHealthNode};
    nodes.insert(nodes.end(), group.logs.begin(), group.logs.end());
    return nodes;
}

std::string SavedLogTreeText(const std::string& label, const SavedLogPartial& partial)
{
    if (!partial.partial)
        return label;
    return label + " (" + PartialRecordsText(partial.records, partial.expected) + ")";
}

}  // namespace ravo
