#pragma once
#include <QIcon>

namespace ravo::desktop {

// The program's icon (the SVG installed with the desktop entry).
QIcon programIcon();

}  // namespace ravo::desktop
