#include "Platform.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The installer waits for every running copy to end before it replaces files.
    orbitra::markRunning();
    QApplication application(argc, argv);
    orbitra::Program program;
    if (!program.start()) {
        return 1;
    }
    return application.exec();
}
