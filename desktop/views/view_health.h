#pragma once
#include <QWidget>
#include <string>

#include "desktop/view_pane.h"
#include "divedata/unit_health.h"

class QLabel;
class QTableWidget;

namespace ravo::desktop {

class CHealthTrendCtrl;

// The unit's health across its saved dives: a title, the warning line, the
// trend of the cells' start output, the battery's charge and the days since
// learn, and the table of every dive with its flags. What it shows is the
// core's (AssessHealth); it never talks to the unit.
class CViewHealth : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewHealth(ViewContext ctx, QWidget* parent = nullptr);

    // "Health" under a saved unit: that unit's dives from the dive folder.
    void treeSelection(const TreeLabels& labels) override;
    // Reads the unit's saved dives from `diveFolder` and shows them; an empty
    // unit clears the view.
    void showUnit(const std::string& diveFolder, const std::string& unit);
    // The unit shown read again (its saved dives changed).
    void refresh();
    const std::string& unitShown() const { return unit_; }

    const HealthReport& report() const { return report_; }
    QString warningText() const;
    CHealthTrendCtrl* trendCtrl() const { return trend_; }
    QTableWidget* table() const { return table_; }

private:
    void fillTable();

    ViewContext ctx_;
    std::string unit_;
    HealthReport report_;
    QLabel* title_ = nullptr;
    QLabel* warning_ = nullptr;
    CHealthTrendCtrl* trend_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace ravo::desktop
