#include <QGuiApplication>
#include <memory>

#include "cli/png/export_png.h"
#include "desktop/paint/draw_list_painter.h"

namespace ravo::cli {

bool WritePngExport(const DrawList& list, const std::string& path, std::string& error)
{
    // Text needs the font system of a GUI application. The offscreen platform
    // gives it without a display; whatever QT_QPA_PLATFORM says (xcb with no
    // display would abort), the command line never opens a window.
    std::unique_ptr<QGuiApplication> gui;
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ravo-cli";
        static char* argv[] = {name, nullptr};
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    std::string reason;
    if (!paint::WriteDrawListPng(list, path, &reason)) {
        error = "Can not write " + path + " (" + reason + ")";
        return false;
    }
    return true;
}

}  // namespace ravo::cli
