#pragma once
#include <QDialog>
#include <vector>

#include "settings/settings_backup.h"

class QTreeWidget;

namespace ravo::desktop {

// "Restore settings": every row whose value differs, with the unit's and the
// file's value; the rows a restore can write have a check box, checked at
// first. Read back the checked rows after Accepted.
class CRestoreSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CRestoreSettingsDlg(const std::vector<SettingDifference>& differences, const QString& fileName,
                        QWidget* parent = nullptr);

    // The row ids of the checked rows.
    std::vector<int> checkedRows() const;

private:
    std::vector<SettingDifference> differences_;
    QTreeWidget* table_;
};

}  // namespace ravo::desktop
