#include "desktop/models/unit_log_list_model.h"

namespace ravo::desktop {

void UnitLogListModel::setDirectory(const LogDirectory& directory, const std::string& diveFolder)
{
    beginResetModel();
    rows_.Fill(directory.entries, directory.unit);
    if (savedColumn_)
        rows_.MarkSaved(diveFolder);
    endResetModel();
}

void UnitLogListModel::clear()
{
    beginResetModel();
    rows_.Reset();
    endResetModel();
}

int UnitLogListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.rowCount();
}

int UnitLogListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : savedColumn_ ? 3 : 2;
}

QVariant UnitLogListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return QString::fromStdString(rows_.cellText(index.row(), index.column()));
}

QVariant UnitLogListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    return QString(UnitLogListRows::kColumnHeaders[section]);
}

}  // namespace ravo::desktop
