#pragma once
#include "desktop/views/view_unit_logs.h"

namespace ravo::desktop {

// The redbox (event) logs the unit holds; a double-click downloads one.
class CViewUnitRedbox : public CViewUnitLogs {
    Q_OBJECT
public:
    explicit CViewUnitRedbox(ViewContext ctx, QWidget* parent = nullptr) : CViewUnitLogs(ctx, true, parent) {}
};

}  // namespace ravo::desktop
