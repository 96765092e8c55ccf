#include "desktop/models/logbook_model.h"

#include <map>

namespace ravo::desktop {

void LogbookModel::setRows(std::vector<LogbookRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    SortLogbook(rows_, sortColumn_, ascending_);
    endResetModel();
}

int LogbookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int LogbookModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kLogbookColumns;
}

QVariant LogbookModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kLogbookColumns)
        return {};
    const LogbookRow& row = rows_[size_t(index.row())];
    const auto column = LogbookColumn(index.column());
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(LogbookCellText(row, column));
    case Qt::ToolTipRole: return QString::fromStdString(SavedDiveFiguresText(row));
    case Qt::TextAlignmentRole:
        return column == LogbookColumn::Unit || column == LogbookColumn::Start || column == LogbookColumn::StartLocal ||
                       column == LogbookColumn::Partial
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant LogbookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kLogbookColumns)
        return {};
    return QString::fromStdString(LogbookColumnTitle(LogbookColumn(section)));
}

void LogbookModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kLogbookColumns)
        return;
    sortColumn_ = LogbookColumn(column);
    ascending_ = order == Qt::AscendingOrder;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection and the current row follow their dives.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<std::string, std::string>> dives;
    for (const QModelIndex& index : before)
        dives.emplace_back(rows_[size_t(index.row())].unit, rows_[size_t(index.row())].log);
    SortLogbook(rows_, sortColumn_, ascending_);
    std::map<std::pair<std::string, std::string>, int> rowOf;
    for (size_t r = 0; r < rows_.size(); ++r)
        rowOf[{rows_[r].unit, rows_[r].log}] = int(r);
    QModelIndexList after;
    for (size_t i = 0; i < size_t(before.size()); ++i)
        after.append(index(rowOf[dives[i]], before[int(i)].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace ravo::desktop
