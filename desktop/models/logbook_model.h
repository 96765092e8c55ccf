#pragma once
#include <QAbstractTableModel>
#include <vector>

#include "divedata/logbook.h"

namespace ravo::desktop {

// The logbook's rows for a Qt view: one column per logbook column, texts,
// titles and order from the core; no logic of its own.
class LogbookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the rows, keeping the order last asked for.
    void setRows(std::vector<LogbookRow> rows);
    const std::vector<LogbookRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<LogbookRow> rows_;
    LogbookColumn sortColumn_ = LogbookColumn::Start;
    bool ascending_ = true;
};

}  // namespace ravo::desktop
