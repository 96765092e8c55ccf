// The main of the widget tests: GoogleTest inside a QApplication, so QTest's
// event simulation and real widgets work. The offscreen platform is chosen
// unless the caller chose another (a visible run under Xvfb, say).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
