#include "desktop/list_unit.h"

#include <QHeaderView>

#include "app/tree_rules.h"
#include "divedata/saved_logs.h"

namespace ravo::desktop {
namespace {

QString text(const char* t)
{
    return QString::fromUtf8(t);
}

QTreeWidgetItem* childByText(QTreeWidgetItem* parent, const QString& text)
{
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    return nullptr;
}

}  // namespace

MListUnit::MListUnit(MessageReceiver& frame, const std::vector<std::string>& savedDiveNames, QWidget* parent)
    : QTreeWidget(parent), frame_(frame), savedDiveNames_(savedDiveNames)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAccessibleName("Units and saved logs");
    // The selection, not the current item: the view makes the first item
    // current when it takes the focus, which is no choice of the user's.
    connect(this, &QTreeWidget::itemSelectionChanged, this, &MListUnit::selectionMoved);
    resetTree();
    rebuildSavedLogs();
}

QTreeWidgetItem* MListUnit::addRoot(const QString& label, bool expanded)
{
    auto* item = new QTreeWidgetItem(this, QStringList{label});
    QFont font = item->font(0);
    font.setBold(true);
    item->setFont(0, font);
    item->setExpanded(expanded);
    return item;
}

void MListUnit::resetTree()
{
    rebuilding_ = true;
    clear();
    addRoot(text(kUnitRoot), false);
    addRoot(text(kSavedRoot), false);
    rebuilding_ = false;
    labels_ = {};
}

QTreeWidgetItem* MListUnit::findRoot(const QString& label) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->text(0) == label)
            return topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* MListUnit::findChild(const QString& root, const QString& child) const
{
    return childByText(findRoot(root), child);
}

QTreeWidgetItem* MListUnit::findGrandchild(const QString& root, const QString& child, const QString& grandchild) const
{
    return childByText(findChild(root, child), grandchild);
}

QTreeWidgetItem* MListUnit::ensureRoot(const QString& label)
{
    if (QTreeWidgetItem* found = findRoot(label))
        return found;
    QTreeWidgetItem* item = addRoot(label, true);
    viewport()->update();
    return item;
}

QTreeWidgetItem* MListUnit::ensureChild(const QString& root, const QString& child)
{
    if (QTreeWidgetItem* found = findChild(root, child))
        return found;
    QTreeWidgetItem* parent = ensureRoot(root);
    auto* item = new QTreeWidgetItem(parent, QStringList{child});
    parent->sortChildren(0, Qt::AscendingOrder);
    parent->setExpanded(true);
    item->setExpanded(false);
    viewport()->update();
    return item;
}

QTreeWidgetItem* MListUnit::ensureGrandchild(const QString& root, const QString& child, const QString& grandchild)
{
    if (QTreeWidgetItem* found = findGrandchild(root, child, grandchild))
        return found;
    QTreeWidgetItem* parent = ensureChild(root, child);
    if (!parent)
        return nullptr;
    auto* item = new QTreeWidgetItem(parent, QStringList{grandchild});
    parent->sortChildren(0, Qt::AscendingOrder);
    parent->setExpanded(false);
    viewport()->update();
    return item;
}

void MListUnit::clearBranch(const QString& root)
{
    QTreeWidgetItem* item = findRoot(root);
    if (!item)
        return;
    for (QTreeWidgetItem* child : item->takeChildren())
        delete child;
}

void MListUnit::rebuildSavedLogs()
{
    // Removing the selected log moves the selection; that notice must not
    // start another rebuild from inside this one.
    if (rebuilding_)
        return;
    rebuilding_ = true;
    clearBranch(text(kSavedRoot));
    for (const SavedUnitGroup& group : GroupSavedLogs(savedDiveNames_))
        for (const std::string& log : group.logs)
            ensureGrandchild(text(kSavedRoot), QString::fromStdString(group.unit), QString::fromStdString(log));
    rebuilding_ = false;
    QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        labels_ = {};
    viewport()->update();
}

void MListUnit::selectionMoved()
{
    if (rebuilding_)
        return;
    QList<QTreeWidgetItem*> selected = selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    QTreeWidgetItem* grandparent = parent ? parent->parent() : nullptr;
    auto label = [](QTreeWidgetItem* item) { return item ? item->text(0).toStdString() : std::string(); };
    labels_ = selectionLabels(label(node), label(parent), label(grandparent));
    if (unsigned message = selectionMessage(labels_))
        frame_.sendMessage(message, 0, reinterpret_cast<intptr_t>(&labels_));
}

bool MListUnit::selectPath(const QStringList& path)
{
    QTreeWidgetItem* item = nullptr;
    if (path.size() >= 1)
        item = findRoot(path[0]);
    for (int i = 1; item && i < path.size(); ++i)
        item = childByText(item, path[i]);
    if (!item)
        return false;
    setCurrentItem(item);
    item->setSelected(true);
    return true;
}

}  // namespace ravo::desktop
