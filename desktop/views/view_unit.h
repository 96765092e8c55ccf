#pragma once
#include <QWidget>

#include "desktop/view_pane.h"

class QLineEdit;
class QPushButton;

namespace ravo::desktop {

// The unit view (placeholder until the real view lands): the unit number box
// and "Read Info".
class CViewUnit : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewUnit(ViewContext ctx, QWidget* parent = nullptr);
    intptr_t onMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

private:
    void readInfo();

    ViewContext ctx_;
    QLineEdit* unitBox_ = nullptr;
    QPushButton* readInfoButton_ = nullptr;
};

}  // namespace ravo::desktop
