#pragma once
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "desktop/view_pane.h"
#include "divedata/logbook.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QTableView;

namespace ravo {
class CRavo_ConfigApp;
}

namespace ravo::desktop {

class LogbookModel;

// The logbook: every dive saved in the dive folder, of every unit, in a
// table sortable by every column, with a filter by unit and a totals line.
// Double-click or Enter opens a dive. The rows are read on a thread of their
// own (the first time every sample file, later the figures cache beside
// them), while the window goes on painting and shows how far it is.
// Selected in the tree, it reads the rows again: the root's selection shows
// every unit, a unit's the dives of that unit.
class CViewLogbook : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewLogbook(CRavo_ConfigApp& app, QWidget* parent = nullptr);
    ~CViewLogbook() override;

    void treeSelection(const TreeLabels& labels) override;

    // Reads the rows again from the saved dive names and the dive folder.
    void refresh();
    // True while rows are being read.
    bool loading() const { return loading_; }

    // The dives selected in the table, and their files' base paths (folder,
    // name, no extension): what a multi-dive export takes.
    std::vector<LogbookRow> selectedDives() const;
    std::vector<std::string> selectedBasePaths() const;

    // The unit the table is filtered by, empty for all units.
    std::string unitFilter() const;
    void setUnitFilter(const std::string& unit);

    const LogbookModel& model() const { return *model_; }
    QTableView* table() const { return table_; }
    QString totalsText() const;

    // The figures cache of the dive folder, shared with whoever else shows
    // figures of saved dives (the tree's tooltips).
    std::shared_ptr<DiveFiguresCache> figuresCache();

signals:
    // A dive asked to be opened, by its tree labels.
    void openDive(const QString& unit, const QString& log);
    // The rows were read (again).
    void loaded();

private:
    void stopLoading();
    void rowsRead(unsigned generation, std::vector<LogbookRow> rows);
    void showRows();
    void activated(const QModelIndex& index);

    CRavo_ConfigApp& app_;
    std::shared_ptr<DiveFiguresCache> cache_;
    std::vector<LogbookRow> all_;
    LogbookModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* unitBox_ = nullptr;
    QLabel* totals_ = nullptr;
    QProgressBar* progress_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::string unit_;  // the unit filter, empty for all
    unsigned generation_ = 0;
    bool loading_ = false;
};

}  // namespace ravo::desktop
