#pragma once
#include <QWidget>

#include "desktop/view_pane.h"

namespace ravo::desktop {

// A right-hand view of the main window (placeholder until the real view lands).
class CViewUnitDive : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewUnitDive(ViewContext ctx, QWidget* parent = nullptr);
    intptr_t onMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

private:
    ViewContext ctx_;
};

}  // namespace ravo::desktop
