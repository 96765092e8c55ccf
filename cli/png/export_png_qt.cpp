#include <QGuiApplication>
#include <memory>

#include "cli/png/export_png.h"
#include "desktop/paint/draw_list_painter.h"

namespace ravo::cli {

bool WritePngExport(const DrawList& list, const std::string& path, std::string& error)
{
    // Text needs the font system of a GUI application; the offscreen platform
    // gives it without a display.
    std::unique_ptr<QGuiApplication> gui;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ravo-cli";
        static char* argv[] = {name, nullptr};
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (!paint::WriteDrawListPng(list, path)) {
        error = "Can not write " + path;
        return false;
    }
    return true;
}

}  // namespace ravo::cli
