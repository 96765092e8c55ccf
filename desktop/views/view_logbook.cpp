#include "desktop/views/view_logbook.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ravo_config_app.h"
#include "app/tree_labels.h"
#include "desktop/models/logbook_model.h"
#include "divedata/dive_log.h"

namespace ravo::desktop {
namespace {

const char kAllUnits[] = "All units";

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

    auto* top = new QHBoxLayout;
    top->addWidget(unitLabel);
    top->addWidget(unitBox_);
    top->addStretch(1);
    top->addWidget(progress_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
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

void CViewLogbook::activated(const QModelIndex& index)
{
    if (!index.isValid() || size_t(index.row()) >= model_->rows().size())
        return;
    const LogbookRow& row = model_->rows()[size_t(index.row())];
    emit openDive(QString::fromStdString(row.unit), QString::fromStdString(row.log));
}

}  // namespace ravo::desktop
