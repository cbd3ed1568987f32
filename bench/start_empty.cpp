// The floor for start-up, memory and idle cost: a Qt program that shows one
// empty QMainWindow. With --label the window holds one line of text, which
// makes Qt load its font database; with --idle it stays open and reports its
// idle cost.

#include "Probe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    bench::quietOffscreenWarnings();
    bool idle = false;
    QMainWindow window;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--idle") == 0) {
            idle = true;
        } else if (std::strcmp(argv[i], "--label") == 0) {
            window.setCentralWidget(new QLabel(QStringLiteral("Periodic Table"), &window));
        }
    }
    bench::FirstFrame firstFrame([idle] {
        bench::report("frame");
        bench::report("rss " + std::to_string(bench::residentKiB()));
        if (idle) {
            bench::measureIdleThenExit(1000, 10000);
            return;
        }
        std::_Exit(0);
    });
    application.installEventFilter(&firstFrame);
    window.show();
    return application.exec();
}
