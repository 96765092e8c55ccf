#include "desktop/list_unit.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include "app/tree_rules.h"
#include "divedata/dive_log.h"
#include "divedata/saved_logs.h"

namespace ravo::desktop {
namespace {

QString text(const char* t)
{
    return QString::fromUtf8(t);
}

// A saved log's node shows more than its label (the partial mark); the
// label itself is kept in the node's data.
QString labelOf(const QTreeWidgetItem* item)
{
    const QVariant label = item->data(0, Qt::UserRole);
    return label.isValid() ? label.toString() : item->text(0);
}

QTreeWidgetItem* childByText(QTreeWidgetItem* parent, const QString& text)
{
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->childCount(); ++i)
        if (labelOf(parent->child(i)) == text)
            return parent->child(i);
    return nullptr;
}

// A saved log's node: its tooltip holds the dive's figures, read when it
// first shows rather than for every dive while the tree is built.
class SavedLogItem : public QTreeWidgetItem {
public:
    SavedLogItem(QTreeWidgetItem* parent, const QString& label) : QTreeWidgetItem(parent, QStringList{label}) {}

    QVariant data(int column, int role) const override
    {
        if (role != Qt::ToolTipRole || column != 0)
            return QTreeWidgetItem::data(column, role);
        if (tip_.isNull()) {
            const auto* tree = static_cast<const MListUnit*>(treeWidget());
            tip_ = tree && parent() ? QString::fromStdString(tree->figuresOf(labelOf(parent()).toStdString(),
                                                                            labelOf(this).toStdString()))
                                    : QString();
            if (tip_.isNull())
                tip_ = QString("");
        }
        return tip_.isEmpty() ? QVariant() : QVariant(tip_);
    }

private:
    mutable QString tip_;
};

// The text a saved log's stamp takes at most.
const char kWidestStamp[] = "0000-00-00_00-00-00_O";

}  // namespace

MListUnit::MListUnit(FrameRequests& frame, const std::vector<std::string>& savedDiveNames, QWidget* parent)
    : QTreeWidget(parent), frame_(frame), savedDiveNames_(savedDiveNames)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAccessibleName("Units and saved logs");
    // Same-day dives differ at the end of their names: never elided, the
    // column as wide as its widest node, scrolled sideways when narrowed.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The selection, not the current item: the view makes the first item
    // current when it takes the focus, which is no choice of the user's.
    connect(this, &QTreeWidget::itemSelectionChanged, this, &MListUnit::selectionMoved);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (!movedSincePress_)
            unitRootAgain(item);
    });
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
    for (const SavedUnitGroup& group : GroupSavedLogs(savedDiveNames_)) {
        QTreeWidgetItem* unit = ensureChild(text(kSavedRoot), QString::fromStdString(group.unit));
        // In the order given: "Health" first, then the logs in time order.
        for (const std::string& node : SavedUnitNodes(group)) {
            if (node == kHealthNode) {
                new QTreeWidgetItem(unit, QStringList{QString::fromStdString(node)});
                continue;
            }
            auto* item = new SavedLogItem(unit, QString::fromStdString(node));
            item->setData(0, Qt::UserRole, QString::fromStdString(node));
            if (!diveFolder_)
                continue;
            const SavedLogPartial partial =
                SavedDiveLogPartial(*diveFolder_, SavedLogBasePath(std::string(), group.unit, node));
            if (partial.partial)
                item->setText(0, QString::fromStdString(SavedLogTreeText(node, partial)));
        }
        unit->setExpanded(false);
    }
    rebuilding_ = false;
    QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        labels_ = {};
    viewport()->update();
}

void MListUnit::setDiveFolder(const std::string* folder)
{
    diveFolder_ = folder;
    rebuildSavedLogs();
}

std::string MListUnit::figuresOf(const std::string& unit, const std::string& log) const
{
    return figuresSource_ ? figuresSource_(unit, log) : std::string();
}

int MListUnit::fittingWidth() const
{
    // Root, unit and log levels, the text with its margins, a vertical
    // scroll bar, the frame.
    const int margins = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    return 3 * indentation() + fontMetrics().horizontalAdvance(text(kWidestStamp)) + margins +
           verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
}

void MListUnit::mousePressEvent(QMouseEvent* event)
{
    movedSincePress_ = false;
    QTreeWidget::mousePressEvent(event);
}

void MListUnit::unitRootAgain(QTreeWidgetItem* item)
{
    if (item && !item->parent() && item->isSelected() && labelOf(item) == text(kUnitRoot))
        selectionMoved();
}

void MListUnit::selectionMoved()
{
    movedSincePress_ = true;
    if (rebuilding_)
        return;
    QList<QTreeWidgetItem*> selected = selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    QTreeWidgetItem* grandparent = parent ? parent->parent() : nullptr;
    auto label = [](QTreeWidgetItem* item) { return item ? labelOf(item).toStdString() : std::string(); };
    labels_ = selectionLabels(label(node), label(parent), label(grandparent));
    if (selectionBranch(labels_) != TreeBranch::None)
        frame_.treeSelected(labels_);
}

void MListUnit::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    const int indent = indentation();
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        ++depth;
    const int midY = rect.top() + rect.height() / 2;
    auto hasNextSibling = [this](const QModelIndex& at) {
        return at.sibling(at.row() + 1, 0).isValid() || (!at.parent().isValid() && at.row() + 1 < topLevelItemCount());
    };
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    // The node's own level: up to its middle, on down when a sibling follows.
    const int x = rect.left() + depth * indent + indent / 2;
    painter->drawLine(x, index.row() == 0 && depth == 0 ? midY : rect.top(), x,
                      hasNextSibling(index) ? rect.bottom() : midY);
    painter->drawLine(x, midY, rect.left() + (depth + 1) * indent, midY);
    // Each ancestor whose own siblings follow continues its line through here.
    QModelIndex ancestor = index.parent();
    for (int level = depth - 1; level >= 0 && ancestor.isValid(); --level, ancestor = ancestor.parent())
        if (hasNextSibling(ancestor)) {
            const int ax = rect.left() + level * indent + indent / 2;
            painter->drawLine(ax, rect.top(), ax, rect.bottom());
        }
    painter->restore();
    QTreeWidget::drawBranches(painter, rect, index);
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
    const bool again = item->isSelected();
    setCurrentItem(item);
    item->setSelected(true);
    if (again)
        unitRootAgain(item);
    return true;
}

}  // namespace ravo::desktop
