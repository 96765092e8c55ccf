#include "desktop/controls/dive_graph_ctrl.h"

#include <QPainter>

#include "desktop/paint/draw_list_painter.h"

namespace ravo::desktop {

CDiveGraphCtrl::CDiveGraphCtrl(QWidget* parent) : QWidget(parent), graph_(std::make_unique<DiveGraph>())
{
    // The paint covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(200, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName("Dive profile");
}

void CDiveGraphCtrl::SetData(const CDiveLog* log)
{
    graph_->SetData(log);
    update();
}

QImage CDiveGraphCtrl::renderImage(int width, int height)
{
    return paint::RenderImage(graph_->Draw(width, height));
}

void CDiveGraphCtrl::paintEvent(QPaintEvent*)
{
    paint::RenderInto(canvas_, graph_->Draw(width(), height()));
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

}  // namespace ravo::desktop
