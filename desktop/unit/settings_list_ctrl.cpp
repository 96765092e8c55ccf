#include "desktop/unit/settings_list_ctrl.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "settings/settings_rows.h"

namespace ravo::desktop {
namespace {

constexpr int kRowIdRole = Qt::UserRole;
constexpr char kClockRowName[] = "RTC time (UTC)";

}  // namespace

QColor settingsWarningColour()
{
    return QColor(255, 196, 120);
}

CSettingsListCtrl::CSettingsListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setAccessibleName("Settings");
    setColumnCount(2);
    setHeaderLabels({"Name", "Value"});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CSettingsListCtrl::requestEdit);
}

void CSettingsListCtrl::rebuild(bool serviceMode)
{
    setUpdatesEnabled(false);
    clear();
    for (const SettingsRow& row : buildSettingsRows(record_, serviceMode)) {
        auto* item = new QTreeWidgetItem(this, {QString::fromStdString(row.name), QString::fromStdString(row.value)});
        item->setData(0, kRowIdRole, row.rowId);
        if (row.bold) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
            item->setFont(1, font);
        }
        if (row.name == kClockRowName && clock_.warn) {
            for (int column = 0; column < 2; ++column) {
                item->setBackground(column, settingsWarningColour());
                item->setToolTip(column, QString::fromStdString(clock_.tooltip));
            }
        }
    }
    setUpdatesEnabled(true);
}

void CSettingsListCtrl::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        requestEdit(currentItem(), qMax(0, currentColumn()));
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CSettingsListCtrl::requestEdit(QTreeWidgetItem* item, int column)
{
    if (!item || column < 0)
        return;
    emit editRequested(item->data(0, kRowIdRole).toInt());
}

}  // namespace ravo::desktop
