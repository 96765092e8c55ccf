#include "desktop/views/view_dive.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/ravo_config_app.h"
#include "desktop/svg_picture.h"
#include "app/tree_labels.h"
#include "desktop/controls/dive_graph_ctrl.h"
#include "desktop/dialogs/export_file_dialog.h"
#include "desktop/paint/draw_list_painter.h"
#include "desktop/paint/report_painter.h"
#include "divedata/dive_report.h"
#include "desktop/value_label.h"
#include "divedata/dive_summary.h"
#include "divedata/saved_dive.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"

// The picture lives in the desktop library's resources, which a static
// library must register itself.
static void initViewResources()
{
    Q_INIT_RESOURCE(views);
}

namespace ravo::desktop {
namespace {

QString shownText(const std::string& text)
{
    return QString::fromStdString(text).replace("\r\n", "\n");
}

}  // namespace

CViewDive::CViewDive(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    initViewResources();
    picture_ = new SvgPicture(":/views/ravo_unit.svg", QSize(96, 96), "Ravo unit", this);

    summary_ = new QLabel(this);
    showValue(summary_, "Dive summary", "Select a dive log...");
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setMinimumHeight(96);

    exportButton_ = new QPushButton("Export...", this);
    exportButton_->setAccessibleName("Export...");
    exportButton_->setEnabled(false);
    connect(exportButton_, &QPushButton::clicked, this, &CViewDive::exportDive);

    graph_ = new CDiveGraphCtrl(this);

    // The picture and the summary keep their places; the graph takes the rest.
    auto* layout = new QGridLayout(this);
    layout->addWidget(picture_, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(summary_, 0, 1);
    layout->addWidget(exportButton_, 0, 2, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(graph_, 1, 0, 1, 3);
    layout->addWidget(createGraphBar(), 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);

    errorNotice_ = [this](const QString& text) { QMessageBox::critical(this, "Ravo_Config", text); };
}

QWidget* CViewDive::createGraphBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const AppConfig& config = ctx_.app.config;
    auto box = [&](const char* text, bool on) {
        auto* check = new QCheckBox(text, bar);
        check->setAccessibleName(text);
        check->setChecked(on);
        connect(check, &QCheckBox::toggled, this, &CViewDive::curvesSwitched);
        row->addWidget(check);
        return check;
    };
    temperatureBox_ = box("Temperature", config.graphTemperature);
    o2Box_ = box("O2 pressure", config.graphO2);
    dilBox_ = box("Diluent pressure", config.graphDil);
    row->addStretch(1);
    wholeDiveButton_ = new QPushButton("Whole dive", bar);
    wholeDiveButton_->setAccessibleName("Whole dive");
    wholeDiveButton_->setToolTip("Zoom: mouse wheel or drag a range; + and -, arrow keys, Home");
    wholeDiveButton_->setEnabled(false);
    connect(wholeDiveButton_, &QPushButton::clicked, graph_, &CDiveGraphCtrl::resetZoom);
    connect(graph_, &CDiveGraphCtrl::zoomChanged, wholeDiveButton_, &QPushButton::setEnabled);
    row->addWidget(wholeDiveButton_);
    graph_->setCurves({config.graphTemperature, config.graphO2, config.graphDil});
    return bar;
}

// The switches are kept in the configuration, saved with it at exit.
void CViewDive::curvesSwitched()
{
    AppConfig& config = ctx_.app.config;
    config.graphTemperature = temperatureBox_->isChecked();
    config.graphO2 = o2Box_->isChecked();
    config.graphDil = dilBox_->isChecked();
    graph_->setCurves({config.graphTemperature, config.graphO2, config.graphDil});
}

QString CViewDive::summaryText() const
{
    return summary_->text();
}

void CViewDive::treeSelection(const TreeLabels& labels)
{
    showSavedLog(labels.unitLabel, labels.nodeLabel);
}

void CViewDive::showSavedLog(const std::string& unitLabel, const std::string& nodeLabel)
{
    FileMessages messages;
    log_.loadFromFile(ctx_.app.config.diveFolder, unitLabel, nodeLabel, &messages);
    unitLabel_ = unitLabel;
    logLabel_ = nodeLabel;
    graph_->SetData(&log_);
    const std::string summary = DiveSummaryText(log_, graph_->graph(), true);
    showValue(summary_, "Dive summary", summary);
    summary_->setText(shownText(summary));
    exportButton_->setEnabled(canExport());
    for (const std::string& text : messages)
        errorNotice_(QString::fromStdString(text));
}

bool CViewDive::chooseWithDialog(const QString& proposed, QString& path, ExportFormat& format)
{
    return ChooseExportFile(this, "Export dive", proposed,
                            {ExportFormat::Uddf, ExportFormat::Csv, ExportFormat::Svg, ExportFormat::Png,
                             ExportFormat::Pdf},
                            path, format);
}

void CViewDive::exportDive()
{
    if (!canExport())
        return;
    const QString proposed = proposedExportPath("uddf");
    QString path;
    ExportFormat format = ExportFormat::Uddf;
    bool chosen = chooser_ ? chooser_(proposed, path, format) : chooseWithDialog(proposed, path, format);
    if (chosen)
        exportTo(path, format);
}

QString CViewDive::proposedExportPath(const char* extension) const
{
    // The saved log's own name, with the export's extension.
    const std::string name = "KTL_SN" + QString::number(log_.info.unitNumber, 16).toUpper().toStdString() + "_" +
                             logLabel_ + "." + extension;
    return QString::fromStdString(joinFolder(ctx_.app.config.diveFolder, name));
}

std::vector<DiveReportPage> CViewDive::reportPages() const
{
    if (!canExport())
        return {};
    return {BuildDiveReportPage(shownDive())};
}

SavedDive CViewDive::shownDive() const
{
    SavedDive dive;
    dive.ref = SavedDiveRef{unitLabel_, logLabel_};
    dive.log = log_;
    dive.headerKnown = ReadSavedHeaderBytes(
        SavedLogBasePath(ctx_.app.config.diveFolder, unitLabel_, logLabel_) + ".txt", dive.log.header);
    return dive;
}

bool CViewDive::exportTo(const QString& path, ExportFormat format)
{
    if (!canExport())
        return false;
    bool written = false;
    std::string reason;
    // The picture has the curves the graph shows.
    const GraphCurves curves = graph_->curves();
    if (format == ExportFormat::Png) {
        written = paint::WriteDrawListPng(DrawDiveProfile(log_, kExportWidth, kExportHeight, curves),
                                          path.toStdString(), &reason);
    } else if (format == ExportFormat::Pdf || format == ExportFormat::Uddf) {
        // The report's header details and the UDDF's gases come from the
        // header bytes, which the view's log does not read back.
        const SavedDive dive = shownDive();
        if (format == ExportFormat::Pdf)
            written = paint::WriteDiveReportPdf({BuildDiveReportPage(dive)}, paper_, path.toStdString(), &reason);
        else
            written = WriteFileReplacing(path.toStdString(),
                                         FormatUddf({ExportDive{&dive.log, StartTimeFromDateKind(logLabel_),
                                                                SlotOfStamp(logLabel_)}}),
                                         &reason) == 0;
    } else {
        written = ExportDiveFile(log_, StartTimeFromDateKind(logLabel_), format, path.toStdString(), kExportWidth,
                                 kExportHeight, &reason, curves) == 0;
    }
    if (!written)
        errorNotice_("Can not write the export file " + path + " (" + QString::fromStdString(reason) + ")");
    return written;
}

}  // namespace ravo::desktop
