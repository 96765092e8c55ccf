#pragma once
#include <QTreeWidget>

#include "settings/clock_check.h"
#include "settings/settings_rows.h"
#include "settings/unit_settings.h"

namespace ravo::desktop {

// The settings list of the unit view: columns "Name" and "Value", the core's
// settings rows under their group headers, editable rows bold, each row's
// unit, range or read-only reason in its tooltip. It holds its own copy
// of the record, which the editors change in place. A double-click on a row,
// or Enter on the current row, asks for that row's edit with its row id (0
// for a row that cannot be edited); a click beside the rows asks nothing.
class CSettingsListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CSettingsListCtrl(QWidget* parent = nullptr);

    void setRecord(const UnitSettings& record) { record_ = record; }
    UnitSettings& record() { return record_; }
    // The unit clock's check, shown on the "RTC time (UTC)" row at Rebuild.
    void setClockCheck(const ClockCheck& check) { clock_ = check; }
    // Recreates the rows from the record; the reset rows only in service mode.
    void rebuild(bool serviceMode);
    // A group's header line ("Set-up: gases"), which is neither edited nor copied.
    static bool isGroupHeader(const QTreeWidgetItem* item);

signals:
    void editRequested(int rowId);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addRow(const SettingsRow& row);
    void requestEdit(QTreeWidgetItem* item, int column);

    UnitSettings record_;
    ClockCheck clock_;
};

// The warning colour of a row (the unit's clock far from the PC's).
QColor settingsWarningColour();

}  // namespace ravo::desktop
