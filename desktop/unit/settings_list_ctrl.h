#pragma once
#include <QTreeWidget>

#include "settings/clock_check.h"
#include "settings/unit_settings.h"

namespace ravo::desktop {

// The settings list of the unit view: columns "Name" and "Value", one row per
// row of the core's settings rows, editable rows bold. It holds its own copy
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

signals:
    void editRequested(int rowId);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void requestEdit(QTreeWidgetItem* item, int column);

    UnitSettings record_;
    ClockCheck clock_;
};

// The warning colour of a row (the unit's clock far from the PC's).
QColor settingsWarningColour();

}  // namespace ravo::desktop
