#include "desktop/dialogs/export_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

namespace ravo::desktop {
namespace {

QString filterOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Uddf: return "UDDF dive log (*.uddf)";
    case ExportFormat::Csv: return "CSV samples (*.csv)";
    case ExportFormat::Svg: return "SVG picture (*.svg)";
    case ExportFormat::Png: return "PNG picture (*.png)";
    case ExportFormat::Pdf: return "PDF report (*.pdf)";
    }
    return {};
}

}  // namespace

bool ChooseExportFile(QWidget* parent, const QString& title, const QString& proposed,
                      const std::vector<ExportFormat>& formats, QString& path, ExportFormat& format)
{
    QStringList filters;
    for (ExportFormat offered : formats)
        filters << filterOf(offered);
    QString selected = filters.front();
    path = QFileDialog::getSaveFileName(parent, title, proposed, filters.join(";;"), &selected);
    if (path.isEmpty())
        return false;
    format = formats[size_t(std::max<qsizetype>(0, filters.indexOf(selected)))];
    ExportFormat typed;
    if (ParseExportFormat(QFileInfo(path).suffix().toStdString(), typed) &&
        std::find(formats.begin(), formats.end(), typed) != formats.end())
        format = typed;
    else
        path += QString(".") + ExportExtension(format);
    return true;
}

}  // namespace ravo::desktop
