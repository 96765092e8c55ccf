#include "desktop/views/view_unit_dive.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ravo::desktop {

CViewUnitDive::CViewUnitDive(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Dive logs on the unit", this), 0, Qt::AlignTop);
}

intptr_t CViewUnitDive::onMessage(unsigned, uintptr_t, intptr_t)
{
    return 1;
}

}  // namespace ravo::desktop
