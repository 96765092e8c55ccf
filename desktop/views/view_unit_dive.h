#pragma once
#include "desktop/views/view_unit_logs.h"

class QPushButton;

namespace ravo::desktop {

// The dive logs the unit holds: a double-click or Enter downloads the rows
// chosen, "Download selected" the selected rows one after another, and
// "Download new" every dive not saved complete yet.
class CViewUnitDive : public CViewUnitLogs {
    Q_OBJECT
public:
    explicit CViewUnitDive(ViewContext ctx, QWidget* parent = nullptr);

public slots:
    void downloadSelected();
    void downloadNew();

protected:
    void updateState() override;

private:
    QPushButton* selected_ = nullptr;
    QPushButton* fresh_ = nullptr;
};

}  // namespace ravo::desktop
