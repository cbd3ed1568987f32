// Pictures of the four windows for the README, grabbed offscreen (or on the
// platform QT_QPA_PLATFORM names):
//   orbitra-screenshots DATAFILE OUTDIR
// copies DATAFILE into a scratch folder as period.bio, shows iron in the main
// window and record 26 in the editor, opens the help and About windows, and
// writes main-window.png, editor.png, help.png and about.png into OUTDIR.

#include "Program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void click(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

bool save(QWidget* window, const QString& path) {
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orbitra-screenshots DATAFILE OUTDIR\n");
        return 2;
    }
    // Offscreen unless told otherwise: the pictures under a desktop's own
    // scheme come from a display with its platform theme.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QString data = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDir out(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    QDir().mkpath(out.path());
    QTemporaryDir scratch;
    if (!QFile::copy(data, scratch.filePath(QStringLiteral("period.bio")))) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }
    QDir::setCurrent(scratch.path());

    orbitra::Program program;
    if (!program.start()) {
        return 1;
    }
    click(program.mainWindow()->tile(26));
    orbitra::Edit* editor = program.showEditor();
    if (auto* number = editor->findChild<QLineEdit*>(QStringLiteral("Text1"))) {
        number->setText(QStringLiteral("26"));
    }
    program.showHelp();
    program.showAbout();

    int status = 0;
    QTimer::singleShot(1200, [&] {
        const bool ok =
            save(program.mainWindow(), out.filePath(QStringLiteral("main-window.png"))) &&
            save(editor, out.filePath(QStringLiteral("editor.png"))) &&
            save(program.help(), out.filePath(QStringLiteral("help.png"))) &&
            save(program.about(), out.filePath(QStringLiteral("about.png")));
        status = ok ? 0 : 1;
        QApplication::exit(status);
    });
    application.exec();
    return status;
}
