#include "desktop/unit/restore_settings_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ravo::desktop {

CRestoreSettingsDlg::CRestoreSettingsDlg(const std::vector<SettingDifference>& differences, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent), differences_(differences)
{
    setWindowTitle("Restore settings");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QString("These rows of the unit differ from %1.\nThe checked rows are written to the unit.").arg(fileName),
        this));
    table_ = new QTreeWidget(this);
    table_->setAccessibleName("Differences");
    table_->setRootIsDecorated(false);
    table_->setHeaderLabels({"Name", "Unit", "File"});
    table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const SettingDifference& d : differences_) {
        auto* item = new QTreeWidgetItem(table_, {QString::fromStdString(d.name), QString::fromStdString(d.unitValue),
                                                  QString::fromStdString(d.fileValue)});
        if (d.restorable)
            item->setCheckState(0, Qt::Checked);
        else
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    table_->setMinimumSize(520, 260);
    layout->addWidget(table_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText("Restore");
    ok->setAccessibleName("Restore");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<int> CRestoreSettingsDlg::checkedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < table_->topLevelItemCount(); ++i)
        if (differences_[size_t(i)].restorable && table_->topLevelItem(i)->checkState(0) == Qt::Checked)
            rows.push_back(differences_[size_t(i)].rowId);
    return rows;
}

}  // namespace ravo::desktop
