#include "Program.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    orbitra::Program program;
    if (!program.start()) {
        return 1;
    }
    return application.exec();
}
