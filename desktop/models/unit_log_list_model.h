#pragma once
#include <QAbstractTableModel>

#include "divedata/log_list_rows.h"
#include "jobs/job_events.h"

namespace ravo::desktop {

// The rows of a unit log list for a Qt view: columns "UTC" and "Size" (and
// for dives "Saved": where each dive stands in the dive folder), texts from
// the core's rows; no logic of its own.
class UnitLogListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    UnitLogListModel(bool savedColumn, QObject* parent = nullptr)
        : QAbstractTableModel(parent), savedColumn_(savedColumn)
    {
    }

    // Replaces the rows (empty directory: no rows, headers stay); with the
    // saved column, each dive is looked up in `diveFolder`.
    void setDirectory(const LogDirectory& directory, const std::string& diveFolder);
    void clear();
    const UnitLogListRows& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool savedColumn_;
    UnitLogListRows rows_;
};

}  // namespace ravo::desktop
