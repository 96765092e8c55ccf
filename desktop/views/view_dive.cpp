#include "desktop/views/view_dive.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ravo::desktop {

CViewDive::CViewDive(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Dive view", this), 0, Qt::AlignTop);
}

intptr_t CViewDive::onMessage(unsigned, uintptr_t, intptr_t)
{
    return 1;
}

}  // namespace ravo::desktop
