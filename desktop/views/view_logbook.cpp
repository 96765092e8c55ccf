#include "desktop/views/view_logbook.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ravo_config_app.h"
#include "app/tree_labels.h"
#include "desktop/dialogs/export_file_dialog.h"
#include "desktop/models/logbook_model.h"
#include "divedata/dive_log.h"
#include "divedata/saved_dives_export.h"
#include "firmware/file_util.h"

namespace ravo::desktop {
namespace {

const char kAllUnits[] = "All units";
const char kExportSelection[] = "Export selection...";

}  // namespace

CViewLogbook::CViewLogbook(CRavo_ConfigApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    auto* unitLabel = new QLabel("Unit", this);
    unitBox_ = new QComboBox(this);
    unitBox_->setAccessibleName("Unit");
    unitLabel->setBuddy(unitBox_);
    unitBox_->addItem(kAllUnits, QString());
    connect(unitBox_, &QComboBox::currentIndexChanged, this, [this] {
        unit_ = unitBox_->currentData().toString().toStdString();
        showRows();
    });

    progress_ = new QProgressBar(this);
    progress_->setAccessibleName("Reading saved dives");
    progress_->setFormat("Reading dive %v of %m");
    progress_->setVisible(false);

    model_ = new LogbookModel(this);
    table_ = new QTableView(this);
    table_->setAccessibleName("Saved dives");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setResizeContentsPrecision(200);
    table_->setSortingEnabled(true);
    table_->sortByColumn(int(LogbookColumn::Start), Qt::AscendingOrder);
    // Double-click and Enter.
    connect(table_, &QTableView::activated, this, &CViewLogbook::activated);

    totals_ = new QLabel(this);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    exportButton_ = new QPushButton(kExportSelection, this);
    exportButton_->setAccessibleName(kExportSelection);
    exportButton_->setToolTip("Writes the selected dives into one UDDF or CSV file");
    connect(exportButton_, &QPushButton::clicked, this, &CViewLogbook::exportSelection);
    exportAction_ = new QAction(kExportSelection, this);
    connect(exportAction_, &QAction::triggered, this, &CViewLogbook::exportSelection);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    table_->addAction(exportAction_);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CViewLogbook::selectionChanged);
    note_ = new QLabel(this);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    errorNotice_ = [this](const QString& text) { QMessageBox::warning(this, "Export selection", text); };

    auto* top = new QHBoxLayout;
    top->addWidget(unitLabel);
    top->addWidget(unitBox_);
    top->addStretch(1);
    top->addWidget(progress_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(totals_, 1);
    bottom->addWidget(exportButton_);
    layout->addLayout(bottom);
    layout->addWidget(note_);
    showRows();
}

CViewLogbook::~CViewLogbook()
{
    stopLoading();
}

void CViewLogbook::treeSelection(const TreeLabels& labels)
{
    setUnitFilter(labels.unitLabel);
    refresh();
}

std::shared_ptr<DiveFiguresCache> CViewLogbook::figuresCache()
{
    if (!cache_ || cache_->folder() != app_.config.diveFolder)
        cache_ = std::make_shared<DiveFiguresCache>(app_.config.diveFolder);
    return cache_;
}

void CViewLogbook::stopLoading()
{
    stop_ = true;
    if (reader_.joinable())
        reader_.join();
    stop_ = false;
}

void CViewLogbook::refresh()
{
    stopLoading();
    const unsigned generation = ++generation_;
    loading_ = true;
    progress_->setRange(0, 0);
    progress_->setVisible(true);
    std::shared_ptr<DiveFiguresCache> cache = figuresCache();
    std::vector<std::string> names = app_.savedDiveNames;
    reader_ = std::thread([this, generation, cache, names = std::move(names)] {
        LogbookProgress progress;
        progress.stop = &stop_;
        progress.report = [this, generation](size_t done, size_t total) {
            if (done % 50 != 0 && done != total)
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, done, total] {
                    if (generation != generation_)
                        return;
                    progress_->setRange(0, int(total));
                    progress_->setValue(int(done));
                },
                Qt::QueuedConnection);
        };
        std::vector<LogbookRow> rows = BuildLogbook(*cache, names, progress);
        if (stop_)
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, rows = std::move(rows)]() mutable { rowsRead(generation, std::move(rows)); },
            Qt::QueuedConnection);
    });
}

void CViewLogbook::rowsRead(unsigned generation, std::vector<LogbookRow> rows)
{
    if (generation != generation_)
        return;
    if (reader_.joinable())
        reader_.join();
    loading_ = false;
    progress_->setVisible(false);
    all_ = std::move(rows);
    // The units the dives have, keeping the one chosen while it has dives.
    {
        const QSignalBlocker quiet(unitBox_);
        unitBox_->clear();
        unitBox_->addItem(kAllUnits, QString());
        for (const std::string& unit : LogbookUnits(all_))
            unitBox_->addItem(QString::fromStdString(unit), QString::fromStdString(unit));
        unitBox_->setCurrentIndex(std::max(0, unitBox_->findData(QString::fromStdString(unit_))));
        unit_ = unitBox_->currentData().toString().toStdString();
    }
    showRows();
    table_->resizeColumnsToContents();
    emit loaded();
}

std::string CViewLogbook::unitFilter() const
{
    return unit_;
}

void CViewLogbook::setUnitFilter(const std::string& unit)
{
    // A unit not listed yet is chosen when the rows that have it arrive.
    unit_ = unit;
    const int index = unitBox_->findData(QString::fromStdString(unit));
    if (index >= 0 && index != unitBox_->currentIndex())
        unitBox_->setCurrentIndex(index);
    else
        showRows();
}

void CViewLogbook::showRows()
{
    const std::vector<LogbookRow> shown = FilterLogbook(all_, unitFilter());
    totals_->setText(QString::fromStdString(LogbookTotalsText(TotalsOf(shown))));
    totals_->setAccessibleName("Totals " + totals_->text());
    model_->setRows(shown);
    // A reset model drops the selection without saying so.
    selectionChanged();
}

void CViewLogbook::selectionChanged()
{
    const bool any = table_->selectionModel()->hasSelection();
    exportButton_->setEnabled(any);
    exportAction_->setEnabled(any);
}

QString CViewLogbook::totalsText() const
{
    return totals_->text();
}

std::vector<LogbookRow> CViewLogbook::selectedDives() const
{
    std::vector<LogbookRow> dives;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        dives.push_back(model_->rows()[size_t(index.row())]);
    return dives;
}

std::vector<std::string> CViewLogbook::selectedBasePaths() const
{
    std::vector<std::string> paths;
    for (const LogbookRow& row : selectedDives())
        paths.push_back(SavedLogBasePath(app_.config.diveFolder, row.unit, row.log));
    return paths;
}

QString CViewLogbook::proposedExportPath() const
{
    const std::string unit = unit_.empty() ? "all_units" : unit_;
    return QString::fromStdString(joinFolder(app_.config.diveFolder, "Logbook_" + unit + ".uddf"));
}

bool CViewLogbook::chooseWithDialog(const QString& proposed, QString& path, ExportFormat& format)
{
    return ChooseExportFile(this, "Export selection", proposed, {ExportFormat::Uddf, ExportFormat::Csv}, path, format);
}

void CViewLogbook::exportSelection()
{
    if (!table_->selectionModel()->hasSelection())
        return;
    QString path;
    ExportFormat format = ExportFormat::Uddf;
    const QString proposed = proposedExportPath();
    if (chooser_ ? chooser_(proposed, path, format) : chooseWithDialog(proposed, path, format))
        exportSelectionTo(path, format);
}

bool CViewLogbook::exportSelectionTo(const QString& path, ExportFormat format)
{
    const std::vector<LogbookRow> rows = selectedDives();
    if (rows.empty())
        return false;
    std::vector<SavedDiveRef> refs;
    for (const LogbookRow& row : rows)
        refs.push_back(SavedDiveRef{row.unit, row.log});
    // The file holds the dives in start order whatever the table's sort.
    std::sort(refs.begin(), refs.end(), [](const SavedDiveRef& a, const SavedDiveRef& b) {
        return StartTimeFromDateKind(a.stamp) != StartTimeFromDateKind(b.stamp)
                   ? StartTimeFromDateKind(a.stamp) < StartTimeFromDateKind(b.stamp)
                   : SlotOfStamp(a.stamp) < SlotOfStamp(b.stamp);
    });
    std::string reason;
    if (ExportSavedDives(app_.config.diveFolder, refs, format, path.toStdString(), &reason) != 0) {
        const QString text = "Can not write the export file " + path + " (" + QString::fromStdString(reason) + ")";
        showNote(text);
        errorNotice_(text);
        return false;
    }
    showNote(QString::fromStdString(DivesExportedText(refs.size(), path.toStdString())));
    return true;
}

void CViewLogbook::showNote(const QString& text)
{
    note_->setText(text);
    note_->setAccessibleName(text);
}

QString CViewLogbook::exportNote() const
{
    return note_->text();
}

void CViewLogbook::activated(const QModelIndex& index)
{
    if (!index.isValid() || size_t(index.row()) >= model_->rows().size())
        return;
    const LogbookRow& row = model_->rows()[size_t(index.row())];
    emit openDive(QString::fromStdString(row.unit), QString::fromStdString(row.log));
}

}  // namespace ravo::desktop
