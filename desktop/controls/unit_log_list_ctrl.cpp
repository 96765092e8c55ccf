#include "desktop/controls/unit_log_list_ctrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "app/frame_ports.h"
#include "app/ravo_config_app.h"
#include "app/unit_log_view_state.h"
#include "desktop/models/unit_log_list_model.h"

namespace ravo::desktop {

CUnitLogListCtrl::CUnitLogListCtrl(ViewContext ctx, bool redbox, QWidget* parent)
    : QTableView(parent), ctx_(ctx), redbox_(redbox), model_(new UnitLogListModel(!redbox, this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(redbox ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setSortingEnabled(false);  // the unit's index order, never sorted
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    // Each column as wide as its texts: a short size column stays short.
    horizontalHeader()->setStretchLastSection(false);
    setAccessibleName(redbox ? "Redbox logs" : "Dive logs");
}

void CUnitLogListCtrl::ResetColumns()
{
    model_->clear();
    sizeColumns();
}

void CUnitLogListCtrl::Fill()
{
    const LogKind kind = redbox_ ? LogKind::Redbox : LogKind::Dive;
    if (unitLogViewState(ctx_.state, kind).directoryBeingRead)
        model_->clear();
    else
        model_->setDirectory(ctx_.state.directory(kind), ctx_.app.config.diveFolder);
    sizeColumns();
}

void CUnitLogListCtrl::sizeColumns()
{
    for (int column = 0; column < model_->columnCount(); ++column)
        resizeColumnToContents(column);
    // An empty list still leaves room for a time stamp.
    const int stampWidth = fontMetrics().horizontalAdvance("0000-00-00 00:00:00") + 12;
    if (columnWidth(0) < stampWidth)
        setColumnWidth(0, stampWidth);
}

int CUnitLogListCtrl::rowCount() const
{
    return model_->rowCount();
}

bool CUnitLogListCtrl::jobRunning() const
{
    return ctx_.state.job.running;
}

std::vector<CDiveInfo> CUnitLogListCtrl::selectedEntries() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<CDiveInfo> entries;
    for (int row : rows)
        if (const CDiveInfo* entry = model_->rows().entryForRow(row))
            entries.push_back(*entry);
    return entries;
}

bool CUnitLogListCtrl::requestDownload(const std::vector<CDiveInfo>& entries)
{
    if (entries.empty() || jobRunning())
        return false;
    // Redbox logs come one at a time.
    if (redbox_ && entries.size() > 1)
        return false;
    ctx_.frame.requestLogs(redbox_ ? LogKind::Redbox : LogKind::Dive, entries);
    return true;
}

void CUnitLogListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = indexAt(event->position().toPoint()).row();
    if (const CDiveInfo* entry = model_->rows().doubleClickRequest(row, jobRunning()))
        requestDownload({*entry});
    event->accept();
}

void CUnitLogListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        requestDownload(selectedEntries());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace ravo::desktop
