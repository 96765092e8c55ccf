#include "desktop/paint/draw_list_painter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "divedata/text_file.h"

namespace ravo::paint {
namespace {

QColor colourOf(Rgb c) { return QColor(c.r, c.g, c.b); }

// The list's font with a cell (ascent + descent) of fontHeight pixels, as the
// list asks; the nearest face the system has when Arial is missing.
QFont fontFor(const DrawList& list)
{
    QFont font(QString::fromStdString(list.fontFace));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Weight(list.fontWeight));
    font.setPixelSize(list.fontHeight);
    int cell = QFontMetrics(font).height();
    if (cell > 0 && cell != list.fontHeight)
        font.setPixelSize(std::max(1, list.fontHeight * list.fontHeight / cell));
    return font;
}

void paintText(QPainter& painter, const QFontMetrics& metrics, const DrawOp& op)
{
    const QString text = QString::fromStdString(op.text);
    const int width = metrics.horizontalAdvance(text);
    // The cell in coordinates where the text runs left to right from (0, 0).
    int left = op.alignH == AlignH::Left ? 0 : op.alignH == AlignH::Centre ? -width / 2 : -width;
    int top = op.alignV == AlignV::Top ? 0 : op.alignV == AlignV::Centre ? -metrics.height() / 2 : -metrics.ascent();
    painter.save();
    painter.translate(op.points.front().x, op.points.front().y);
    if (op.upward)
        painter.rotate(-90);
    const QRect cell(left, top, width, metrics.height());
    painter.fillRect(cell, colourOf(op.background));
    painter.setPen(colourOf(op.colour));
    painter.drawText(left, top + metrics.ascent(), text);
    painter.restore();
}

void paintLine(QPainter& painter, const DrawOp& op)
{
    QPen pen(colourOf(op.colour));
    pen.setWidth(op.width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    // Repeated points add nothing to the line but time.
    QPolygon polygon;
    polygon.reserve(int(op.points.size()));
    for (const DrawPoint& p : op.points)
        if (polygon.isEmpty() || polygon.last() != QPoint(p.x, p.y))
            polygon.append(QPoint(p.x, p.y));
    if (polygon.size() == 1)
        painter.drawPoint(polygon.first());
    else
        painter.drawPolyline(polygon);
}

// Many single pixels in one call: a dotted grid line is hundreds of them.
void paintPoints(QPainter& painter, const DrawOp& op)
{
    QPen pen(colourOf(op.colour));
    pen.setWidth(1);
    painter.setPen(pen);
    QPolygon polygon;
    polygon.reserve(int(op.points.size()));
    for (const DrawPoint& p : op.points)
        polygon.append(QPoint(p.x, p.y));
    painter.drawPoints(polygon);
}

}  // namespace

void PaintDrawList(QPainter& painter, const DrawList& list)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont font = fontFor(list);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const DrawOp& op : list.ops) {
        switch (op.kind) {
        case DrawKind::Fill: painter.fillRect(0, 0, list.width, list.height, colourOf(op.colour)); break;
        case DrawKind::Pixel:
            if (!op.points.empty())
                painter.fillRect(op.points[0].x, op.points[0].y, 1, 1, colourOf(op.colour));
            break;
        case DrawKind::Points: paintPoints(painter, op); break;
        case DrawKind::Rect:
            if (op.points.size() == 2)
                painter.fillRect(QRect(QPoint(op.points[0].x, op.points[0].y),
                                       QPoint(op.points[1].x - 1, op.points[1].y - 1)),
                                 colourOf(op.colour));
            break;
        case DrawKind::Line:
        case DrawKind::Polyline:
            if (!op.points.empty())
                paintLine(painter, op);
            break;
        case DrawKind::Text:
            if (!op.points.empty())
                paintText(painter, metrics, op);
            break;
        }
    }
}

void RenderInto(QImage& image, const DrawList& list, qreal pixelRatio)
{
    pixelRatio = std::max<qreal>(pixelRatio, 1.0);
    const QSize size(std::max(1, int(std::ceil(list.width * pixelRatio))),
                     std::max(1, int(std::ceil(list.height * pixelRatio))));
    if (image.size() != size || image.format() != QImage::Format_RGB32)
        image = QImage(size, QImage::Format_RGB32);
    // The painter works in the list's pixels; the image holds the screen's.
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    PaintDrawList(painter, list);
}

QImage RenderImage(const DrawList& list, qreal pixelRatio)
{
    QImage image;
    RenderInto(image, list, pixelRatio);
    return image;
}

bool WriteDrawListPng(const DrawList& list, const std::string& path, std::string* reason)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!RenderImage(list).save(&buffer, "PNG")) {
        if (reason)
            *reason = "the picture could not be encoded";
        return false;
    }
    return WriteFileReplacing(path, std::string(png.constData(), size_t(png.size())), reason) == 0;
}

}  // namespace ravo::paint
