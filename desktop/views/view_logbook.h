#pragma once
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "desktop/view_pane.h"
#include "divedata/dive_export.h"
#include "divedata/logbook.h"

class QComboBox;
class QLabel;
class QAction;
class QProgressBar;
class QPushButton;
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
// every unit, a unit's the dives of that unit. The selected dives export
// into one UDDF or CSV file.
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

    // Asks where to export the selection (the Save dialog); false when
    // cancelled.
    using ExportChooser = std::function<bool(const QString& proposed, QString& path, ExportFormat& format)>;
    void setExportChooser(ExportChooser chooser) { chooser_ = std::move(chooser); }
    // Shows an export error; a message box unless replaced.
    void setErrorNotice(std::function<void(const QString&)> notice) { errorNotice_ = std::move(notice); }

    // "Export selection...": the Save dialog, then the file.
    void exportSelection();
    // Writes the selected dives to `path` as one UDDF or CSV file. False,
    // after the error notice, when nothing is selected or a dive or the file
    // cannot be read or written.
    bool exportSelectionTo(const QString& path, ExportFormat format);
    // Where the Save dialog starts: a name in the dive folder.
    QString proposedExportPath() const;
    // What the last export wrote ("2 dives exported to ..."), or why not.
    QString exportNote() const;

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
    void selectionChanged();
    bool chooseWithDialog(const QString& proposed, QString& path, ExportFormat& format);
    void showNote(const QString& text);

    CRavo_ConfigApp& app_;
    std::shared_ptr<DiveFiguresCache> cache_;
    std::vector<LogbookRow> all_;
    LogbookModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* unitBox_ = nullptr;
    QLabel* totals_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QAction* exportAction_ = nullptr;
    QLabel* note_ = nullptr;
    ExportChooser chooser_;
    std::function<void(const QString&)> errorNotice_;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::string unit_;  // the unit filter, empty for all
    unsigned generation_ = 0;
    bool loading_ = false;
};

}  // namespace ravo::desktop
