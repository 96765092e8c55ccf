#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "desktop/view_pane.h"
#include "divedata/dive_export.h"
#include "divedata/dive_log.h"
#include "divedata/dive_report.h"
#include "divedata/saved_dive.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace ravo::desktop {

class CDiveGraphCtrl;

// The dive view: the product picture, the summary of the saved dive selected
// in the tree, and its profile graph filling the rest of the pane, with the
// switches of the graph's optional curves (kept in the configuration) and
// "Whole dive" under it. It owns the log it shows and never talks to the unit.
class CViewDive : public QWidget, public ViewPane {
    Q_OBJECT
public:
    explicit CViewDive(ViewContext ctx, QWidget* parent = nullptr);

    void treeSelection(const TreeLabels& labels) override;

    // Asks where to export (the Save dialog); returns false when cancelled.
    using ExportChooser = std::function<bool(const QString& proposed, QString& path, ExportFormat& format)>;
    void setExportChooser(ExportChooser chooser) { chooser_ = std::move(chooser); }
    // Shows a file error; a message box unless replaced.
    void setErrorNotice(std::function<void(const QString&)> notice) { errorNotice_ = std::move(notice); }

    QString summaryText() const;
    CDiveGraphCtrl* graphCtrl() const { return graph_; }
    const CDiveLog& log() const { return log_; }
    bool canExport() const { return !log_.samples.empty(); }

public slots:
    // "Export...": the Save dialog, then the file. The File menu calls it too.
    void exportDive();

public:
    // Writes the dive shown to `path` in `format`. False, after the error
    // notice, when there is no dive or the file cannot be written.
    bool exportTo(const QString& path, ExportFormat format);
    // The paper the PDF report is laid out for (A4 unless set).
    void setPaper(PaperSize paper) { paper_ = paper; }
    // The dive shown, with its header bytes read back from its header file.
    SavedDive shownDive() const;
    // The report of the dive shown: one page, none without a dive.
    std::vector<DiveReportPage> reportPages() const;
    // The saved log's own name in the dive folder with `extension`.
    QString proposedExportPath(const char* extension) const;

private:
    void showSavedLog(const std::string& unitLabel, const std::string& nodeLabel);
    QWidget* createGraphBar();
    void curvesSwitched();
    bool chooseWithDialog(const QString& proposed, QString& path, ExportFormat& format);

    ViewContext ctx_;
    CDiveLog log_;
    std::string unitLabel_;  // the selected log's unit node label
    std::string logLabel_;   // the selected log's stamp and kind
    PaperSize paper_ = PaperSize::A4;
    QWidget* picture_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    CDiveGraphCtrl* graph_ = nullptr;
    QCheckBox* temperatureBox_ = nullptr;
    QCheckBox* o2Box_ = nullptr;
    QCheckBox* dilBox_ = nullptr;
    QPushButton* wholeDiveButton_ = nullptr;
    ExportChooser chooser_;
    std::function<void(const QString&)> errorNotice_;
};

}  // namespace ravo::desktop
