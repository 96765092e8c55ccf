#pragma once
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/frame_ports.h"
#include "app/tree_labels.h"

namespace ravo::desktop {

// The navigation tree: "Ravo unit" with every unit that answered and its two
// log nodes, "Dive log" with each unit's "Health" and saved dive logs. A selection sets
// the three labels and tells the main window. It never talks to the unit.
// Names are shown whole: a narrow tree scrolls sideways.
class MListUnit : public QTreeWidget {
    Q_OBJECT
public:
    MListUnit(FrameRequests& frame, const std::vector<std::string>& savedDiveNames, QWidget* parent = nullptr);

    void resetTree();
    QTreeWidgetItem* findRoot(const QString& text) const;
    QTreeWidgetItem* findChild(const QString& root, const QString& child) const;
    QTreeWidgetItem* findGrandchild(const QString& root, const QString& child, const QString& grandchild) const;
    QTreeWidgetItem* ensureRoot(const QString& text);
    QTreeWidgetItem* ensureChild(const QString& root, const QString& child);
    QTreeWidgetItem* ensureGrandchild(const QString& root, const QString& child, const QString& grandchild);
    void clearBranch(const QString& root);
    // The saved-log branch again from the saved dive names; with a dive
    // folder set, a log saved before all of it arrived says so in its text.
    void rebuildSavedLogs();
    void setDiveFolder(const std::string* folder);
    // Where a saved log's tooltip comes from: the figures of the dive of
    // `unit` and `log` (tree labels), asked for when the tooltip shows.
    using FiguresSource = std::function<std::string(const std::string& unit, const std::string& log)>;
    void setFiguresSource(FiguresSource source) { figuresSource_ = std::move(source); }
    std::string figuresOf(const std::string& unit, const std::string& log) const;
    // The width that shows a saved log's whole stamp at its level.
    int fittingWidth() const;

    const TreeLabels& labels() const { return labels_; }
    // Selects the node at that path (as the user would) and so notifies.
    bool selectPath(const QStringList& path);

protected:
    // Dotted connecting lines from each node to its parent and siblings.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void selectionMoved();
    // The unit root chosen again (clicked or selected while it is the
    // selection): the unit view shows it again, with the firmware folder
    // and the unit number read afresh, as it does when first chosen.
    void unitRootAgain(QTreeWidgetItem* item);
    QTreeWidgetItem* addRoot(const QString& text, bool expanded);

    FrameRequests& frame_;
    const std::vector<std::string>& savedDiveNames_;
    const std::string* diveFolder_ = nullptr;
    FiguresSource figuresSource_;
    TreeLabels labels_;
    bool rebuilding_ = false;
    bool movedSincePress_ = false;
};

}  // namespace ravo::desktop
