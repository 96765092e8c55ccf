#pragma once
#include <QString>
#include <vector>

#include "divedata/dive_export.h"

class QWidget;

namespace ravo::desktop {

// Asks in the Save dialog where to export, offering `formats` (the first
// chosen at the start). A name typed with the extension of one of them says
// the format; otherwise the chosen filter's extension is added. False when
// cancelled.
bool ChooseExportFile(QWidget* parent, const QString& title, const QString& proposed,
                      const std::vector<ExportFormat>& formats, QString& path, ExportFormat& format);

}  // namespace ravo::desktop
