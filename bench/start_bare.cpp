// The floor for start-up on Windows: a bare Qt main window with a menu bar,
// built and started exactly as the program is.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.menuBar()->addMenu(QStringLiteral("&Window"));
    window.resize(714, 430);
    window.show();
    return application.exec();
}
