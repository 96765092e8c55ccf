#include "desktop/svg_picture.h"

#include <QPainter>

namespace ravo::desktop {

SvgPicture::SvgPicture(const QString& resource, QSize size, const QString& accessibleName, QWidget* parent)
    : QWidget(parent), renderer_(resource)
{
    setFixedSize(size);
    setAccessibleName(accessibleName);
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
}

}  // namespace ravo::desktop
