// Orbitra Table started as its own main() starts it, in the working folder the
// driver chose (with its period.bio). Reports the first frame, then clicks one
// tile and reports resident memory with that record shown. With --idle it
// opens the editor, the help window and the About window instead and reports
// its idle cost.

#include "Probe.h"
#include "Program.h"

#include <QLineEdit>

#include <QApplication>

#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    bench::quietOffscreenWarnings();
    const bool idle = argc > 1 && std::strcmp(argv[1], "--idle") == 0;
    orbitra::Program program;
    bench::FirstFrame firstFrame([idle, &program] {
        bench::report("frame");
        if (idle) {
            program.showEditor();
            program.showHelp();
            program.showAbout();
            bench::measureIdleThenExit(1000, 10000);
            return;
        }
        bench::clickCentre(program.mainWindow()->tile(26));
        QCoreApplication::processEvents();
        bench::report("rss " + std::to_string(bench::residentKiB()));
        std::_Exit(0);
    });
    application.installEventFilter(&firstFrame);
    if (!program.start()) {
        return 1;
    }
    return application.exec();
}
