#include "desktop/paint/report_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "desktop/paint/draw_list_painter.h"
#include "divedata/log_banner.h"
#include "divedata/text_file.h"

namespace ravo::paint {
namespace {

QFont reportFont(double points, bool bold = false)
{
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Writes `text` at the top left of `area` in `font` and returns the height used.
double paintLine(QPainter& painter, const QRectF& area, const QFont& font, const QString& text,
                 Qt::Alignment align = Qt::AlignLeft)
{
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.height()), align | Qt::AlignTop, text);
    return metrics.lineSpacing();
}

// The header's values in two columns of label and value; returns the height used.
double paintDetails(QPainter& painter, const QRectF& area, const std::vector<ReportRow>& rows)
{
    const QFont font = reportFont(8.5);
    const QFontMetricsF metrics(font, painter.device());
    const size_t perColumn = (rows.size() + 1) / 2;
    const double columnWidth = area.width() / 2;
    for (size_t i = 0; i < rows.size(); ++i) {
        const double left = area.left() + (i < perColumn ? 0 : columnWidth);
        const double top = area.top() + double(i % perColumn) * metrics.lineSpacing();
        const QRectF labelCell(left, top, columnWidth * 0.62, metrics.height());
        const QRectF valueCell(left + columnWidth * 0.62, top, columnWidth * 0.36, metrics.height());
        painter.setFont(font);
        painter.drawText(labelCell, Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(QString::fromStdString(rows[i].label), Qt::ElideRight, labelCell.width()));
        painter.drawText(valueCell, Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(QString::fromStdString(rows[i].value), Qt::ElideRight, valueCell.width()));
    }
    return double(perColumn) * metrics.lineSpacing();
}

// The profile keeps its shape: scaled to fit `area`, centred across it.
void paintProfile(QPainter& painter, const QRectF& area, const DrawList& profile)
{
    if (profile.width <= 0 || profile.height <= 0 || area.height() <= 0)
        return;
    const double scale = std::min(area.width() / profile.width, area.height() / profile.height);
    painter.save();
    painter.translate(area.left() + (area.width() - profile.width * scale) / 2, area.top());
    painter.scale(scale, scale);
    painter.setClipRect(QRect(0, 0, profile.width, profile.height));
    PaintDrawList(painter, profile);
    painter.restore();
}

void paintPage(QPainter& painter, const QRectF& page, const DiveReportPage& content, int number, int count)
{
    painter.setPen(Qt::black);
    const double gap = page.height() * 0.015;
    double y = page.top();
    y += paintLine(painter, QRectF(page.left(), y, page.width(), page.height()), reportFont(15, true),
                   QString::fromStdString(content.title));
    y += gap;
    for (const std::string& line : content.summary)
        y += paintLine(painter, QRectF(page.left(), y, page.width(), page.height()), reportFont(10),
                       QString::fromStdString(line));
    y += gap;
    y += paintLine(painter, QRectF(page.left(), y, page.width(), page.height()), reportFont(10, true),
                   "Header of the dive");
    y += paintDetails(painter, QRectF(page.left(), y, page.width(), page.height()), content.details);
    y += gap;
    const QFont footerFont = reportFont(8);
    const double footerHeight = QFontMetricsF(footerFont, painter.device()).lineSpacing();
    paintProfile(painter, QRectF(page.left(), y, page.width(), page.bottom() - footerHeight - gap - y),
                 content.profile);
    painter.setPen(Qt::black);
    paintLine(painter, QRectF(page.left(), page.bottom() - footerHeight, page.width(), footerHeight), footerFont,
              QString::fromStdString(ReportFooter(number, count)), Qt::AlignRight);
}

}  // namespace

QPageSize PageSizeOf(PaperSize paper) { return QPageSize(paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter); }

bool PaintDiveReport(QPagedPaintDevice& device, const std::vector<DiveReportPage>& pages)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QRectF page(0, 0, area.width(), area.height());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        paintPage(painter, page, pages[i], int(i) + 1, int(pages.size()));
    }
    return painter.end();
}

bool WriteDiveReportPdf(const std::vector<DiveReportPage>& pages, PaperSize paper, const std::string& path,
                        std::string* reason)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageSize(PageSizeOf(paper));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle("Dive report");
        writer.setCreator(kLogBanner);
        if (!PaintDiveReport(writer, pages)) {
            if (reason)
                *reason = "the report could not be laid out";
            return false;
        }
    }
    return WriteFileReplacing(path, std::string(pdf.constData(), size_t(pdf.size())), reason) == 0;
}

}  // namespace ravo::paint
