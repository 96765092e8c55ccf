#include "desktop/copy_text.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTreeView>

namespace ravo::desktop {
namespace {

bool columnShown(const QAbstractItemView* view, int column)
{
    if (auto* tree = qobject_cast<const QTreeView*>(view))
        return !tree->isColumnHidden(column);
    if (auto* table = qobject_cast<const QTableView*>(view))
        return !table->isColumnHidden(column);
    return true;
}

void appendSelected(const QAbstractItemView* view, const QModelIndex& parent, QString& text)
{
    const QAbstractItemModel* model = view->model();
    const QItemSelectionModel* selection = view->selectionModel();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex first = model->index(row, 0, parent);
        if (selection->isRowSelected(row, parent)) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(parent); ++column)
                if (columnShown(view, column))
                    cells << model->index(row, column, parent).data(Qt::DisplayRole).toString();
            text += cells.join('\t') + '\n';
        }
        if (model->hasChildren(first))
            appendSelected(view, first, text);
    }
}

}  // namespace

QString selectedRowsText(const QAbstractItemView* view)
{
    QString text;
    if (view && view->model() && view->selectionModel())
        appendSelected(view, QModelIndex(), text);
    return text;
}

}  // namespace ravo::desktop
