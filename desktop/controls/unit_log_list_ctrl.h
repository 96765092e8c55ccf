#pragma once
#include <QTableView>
#include <vector>

#include "desktop/view_pane.h"
#include "divedata/dive_info.h"

namespace ravo::desktop {

class UnitLogListModel;

// A list of the logs the unit holds (one directory), with full-row
// selection. A double-click on a row, or Enter, asks the main window to
// download that log; below the rows, or while a unit job runs, nothing
// happens. The dive list also takes several rows at once.
class CUnitLogListCtrl : public QTableView {
    Q_OBJECT
public:
    CUnitLogListCtrl(ViewContext ctx, bool redbox, QWidget* parent = nullptr);

    // Empties the rows; the headers stay.
    void ResetColumns();
    // Rebuilds the rows from the frame's directory of this list's kind
    // (empty while that directory is being read).
    void Fill();

    // The entries of the selected rows, in row order.
    std::vector<CDiveInfo> selectedEntries() const;
    // Asks the main window to download `entries` (several only for dives).
    // Nothing while a job runs. True when a request was sent.
    bool requestDownload(const std::vector<CDiveInfo>& entries);

    int rowCount() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool jobRunning() const;
    void sizeColumns();

    ViewContext ctx_;
    bool redbox_;
    UnitLogListModel* model_;
};

// The unit's dive log directory.
class CUnitDiveListCtrl : public CUnitLogListCtrl {
    Q_OBJECT
public:
    explicit CUnitDiveListCtrl(ViewContext ctx, QWidget* parent = nullptr) : CUnitLogListCtrl(ctx, false, parent) {}
};

// The unit's redbox log directory.
class CUnitRedboxListCtrl : public CUnitLogListCtrl {
    Q_OBJECT
public:
    explicit CUnitRedboxListCtrl(ViewContext ctx, QWidget* parent = nullptr) : CUnitLogListCtrl(ctx, true, parent)
    {
    }
};

}  // namespace ravo::desktop
