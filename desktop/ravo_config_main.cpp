// The desktop program. The main window comes with the desktop shell; until
// then this only proves the Widgets target builds and runs.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Ravo_Config v1.35");
    window.show();
    return app.exec();
}
