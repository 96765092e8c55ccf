#include "desktop/controls/health_trend_ctrl.h"

#include <QPainter>

#include "desktop/paint/draw_list_painter.h"
#include "divedata/health_trend.h"

namespace ravo::desktop {

CHealthTrendCtrl::CHealthTrendCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(240, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName("Health trend");
}

void CHealthTrendCtrl::setReport(const HealthReport& report)
{
    report_ = report;
    update();
}

void CHealthTrendCtrl::paintEvent(QPaintEvent*)
{
    // Drawn in logical pixels on an image of device pixels: sharp at 200 %.
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(width(), height()) * ratio).toSize();
    if (canvas_.size() != size)
        canvas_ = QImage(size, QImage::Format_RGB32);
    canvas_.setDevicePixelRatio(ratio);
    {
        QPainter painter(&canvas_);
        paint::PaintDrawList(painter, DrawHealthTrend(report_, width(), height()));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

}  // namespace ravo::desktop
