#include "desktop/unit/settings_list_ctrl.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "app/settings_groups.h"
#include "settings/settings_rows.h"

namespace ravo::desktop {
namespace {

constexpr int kRowIdRole = Qt::UserRole;
constexpr int kHeaderRole = Qt::UserRole + 1;
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
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CSettingsListCtrl::requestEdit);
}

void CSettingsListCtrl::rebuild(bool serviceMode)
{
    setUpdatesEnabled(false);
    clear();
    for (const SettingsGroup& group : groupSettingsRows(buildSettingsRows(record_, serviceMode))) {
        auto* header = new QTreeWidgetItem(this, {QString::fromStdString(group.title)});
        header->setData(0, kHeaderRole, true);
        header->setFlags(Qt::ItemIsEnabled);
        header->setFirstColumnSpanned(true);
        QFont font = header->font(0);
        font.setBold(true);
        font.setItalic(true);
        header->setFont(0, font);
        header->setBackground(0, palette().alternateBase());
        for (const SettingsRow& row : group.rows)
            addRow(row);
    }
    setUpdatesEnabled(true);
}

void CSettingsListCtrl::addRow(const SettingsRow& row)
{
    auto* item = new QTreeWidgetItem(this, {QString::fromStdString(row.name), QString::fromStdString(row.value)});
    item->setData(0, kRowIdRole, row.rowId);
    if (row.bold) {
        QFont font = item->font(0);
        font.setBold(true);
        item->setFont(0, font);
        item->setFont(1, font);
    }
    QString tip = QString::fromStdString(settingsRowTooltip(row, record_));
    const QString locked = QString::fromStdString(settingsRowLockedReason(row, record_));
    if (row.name == kClockRowName && clock_.warn) {
        tip = QString::fromStdString(clock_.tooltip);
        for (int column = 0; column < 2; ++column)
            item->setBackground(column, settingsWarningColour());
    }
    for (int column = 0; column < 2; ++column) {
        item->setToolTip(column, tip);
        // A screen reader says why a row does not open when it is read-only because of another one.
        if (!locked.isEmpty())
            item->setData(column, Qt::AccessibleDescriptionRole, locked);
    }
    if (!locked.isEmpty())
        item->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
}

bool CSettingsListCtrl::isGroupHeader(const QTreeWidgetItem* item)
{
    return item && item->data(0, kHeaderRole).toBool();
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
    if (!item || column < 0 || isGroupHeader(item))
        return;
    emit editRequested(item->data(0, kRowIdRole).toInt());
}

}  // namespace ravo::desktop
