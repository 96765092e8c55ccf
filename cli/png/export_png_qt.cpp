#include "cli/png/export_png.h"
#include "cli/png/offscreen_gui.h"
#include "desktop/paint/draw_list_painter.h"

namespace ravo::cli {

bool WritePngExport(const DrawList& list, const std::string& path, std::string& error)
{
    OffscreenGui gui;
    std::string reason;
    if (!paint::WriteDrawListPng(list, path, &reason)) {
        error = "Can not write " + path + " (" + reason + ")";
        return false;
    }
    return true;
}

}  // namespace ravo::cli
