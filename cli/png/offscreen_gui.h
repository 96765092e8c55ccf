#pragma once
#include <QGuiApplication>
#include <memory>

namespace ravo::cli {

// Text needs the font system of a GUI application. The offscreen platform
// gives it without a display; whatever QT_QPA_PLATFORM says (xcb with no
// display would abort), the command line never opens a window. Holds the
// application it made, if one was not there already.
class OffscreenGui {
public:
    OffscreenGui()
    {
        if (QGuiApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ravo-cli";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }

private:
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace ravo::cli
