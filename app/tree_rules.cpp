#include "app/tree_rules.h"

#include "link/messages.h"

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

unsigned selectionMessage(const TreeLabels& labels)
{
    if (labels.rootLabel == kSavedRoot)
        return UM_TREE_SAVED_DIVE;
    if (labels.rootLabel == kUnitRoot)
        return UM_TREE_UNIT;
    return 0;
}

std::string SavedLogTreeText(const std::string& label, const SavedLogPartial& partial)
{
    if (!partial.partial)
        return label;
    return label + " (" + PartialRecordsText(partial.records, partial.expected) + ")";
}

}  // namespace ravo
