#pragma once
#include <QString>

class QAbstractItemView;

namespace ravo::desktop {

// The selected rows of a list or tree, top to bottom, one line each with its
// shown columns separated by tabs; empty without a selection.
QString selectedRowsText(const QAbstractItemView* view);

}  // namespace ravo::desktop
