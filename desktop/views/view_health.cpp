#include "desktop/views/view_health.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ravo_config_app.h"
#include "app/tree_labels.h"
#include "desktop/controls/health_trend_ctrl.h"

namespace ravo::desktop {

CViewHealth::CViewHealth(ViewContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    title_ = new QLabel("Health", this);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setAccessibleName("Health");

    warning_ = new QLabel(this);
    warning_->setWordWrap(true);
    warning_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    trend_ = new CHealthTrendCtrl(this);

    table_ = new QTableWidget(this);
    table_->setAccessibleName("Health by dive");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);

    // The trend over the table; the user moves the line between them.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(trend_);
    split->addWidget(table_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(warning_);
    layout->addWidget(split, 1);
    showUnit({}, {});
}

void CViewHealth::treeSelection(const TreeLabels& labels)
{
    showUnit(ctx_.app.config.diveFolder, labels.unitLabel);
}

void CViewHealth::refresh()
{
    if (!unit_.empty())
        showUnit(ctx_.app.config.diveFolder, unit_);
}

QString CViewHealth::warningText() const
{
    return warning_->text();
}

void CViewHealth::showUnit(const std::string& diveFolder, const std::string& unit)
{
    unit_ = unit;
    report_ = unit.empty() ? HealthReport{} : AssessHealth(unit, ReadHealthDives(diveFolder, unit));
    const QString title = unit.empty() ? QString("Health") : QString("Health of unit %1").arg(QString::fromStdString(unit));
    title_->setText(title);
    title_->setAccessibleName(title);
    const QString line = unit.empty() ? QString() : QString::fromStdString(HealthWarningLine(report_));
    warning_->setText(line);
    warning_->setAccessibleName(line.isEmpty() ? QString("Health warning") : line);
    // A warning on the latest dive stands out; anything else reads as plain text.
    const bool warned = line.startsWith("Warning");
    QPalette palette = this->palette();
    if (warned)
        palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
    warning_->setPalette(palette);
    QFont font = warning_->font();
    font.setBold(warned);
    warning_->setFont(font);
    trend_->setReport(report_);
    fillTable();
}

void CViewHealth::fillTable()
{
    const std::vector<std::vector<std::string>> rows = HealthTableRows(report_);
    table_->clear();
    table_->setColumnCount(rows.empty() ? 0 : int(rows.front().size()));
    table_->setRowCount(rows.empty() ? 0 : int(rows.size()) - 1);
    if (rows.empty())
        return;
    QStringList titles;
    for (const std::string& title : rows.front())
        titles << QString::fromStdString(title);
    table_->setHorizontalHeaderLabels(titles);
    for (size_t r = 1; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[r][c]));
            item->setToolTip(item->text());
            table_->setItem(int(r) - 1, int(c), item);
        }
    // The figures as wide as they need; the flags take the rest, wrapped.
    const int last = table_->columnCount() - 1;
    for (int c = 0; c < last; ++c)
        table_->resizeColumnToContents(c);
    table_->horizontalHeader()->setSectionResizeMode(last, QHeaderView::Stretch);
    table_->setWordWrap(true);
    table_->resizeRowsToContents();
}

}  // namespace ravo::desktop
