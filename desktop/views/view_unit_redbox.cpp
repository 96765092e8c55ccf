#include "desktop/views/view_unit_redbox.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ravo::desktop {

CViewUnitRedbox::CViewUnitRedbox(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Redbox logs on the unit", this), 0, Qt::AlignTop);
}

intptr_t CViewUnitRedbox::onMessage(unsigned, uintptr_t, intptr_t)
{
    return 1;
}

}  // namespace ravo::desktop
