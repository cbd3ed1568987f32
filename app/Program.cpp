#include "Program.h"

#include "About.h"
#include "Artwork.h"
#include "Edit.h"
#include "EditHelp.h"
#include "main.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace orbitra {

namespace {

template <typename Window>
Window* bringForward(Window* window) {
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace

Program::Program() {
    // Every window, the editor included, shows the flask in the task bar.
    QApplication::setWindowIcon(flaskIcon());
}

Program::~Program() {
    delete help_;
    delete about_;
    delete editor_;
    delete main_;
}

bool Program::start() {
    auto* window = new main(files_);
    const Status status = window->Form_Load();
    if (!status.ok()) {
        delete window;
        QMessageBox::critical(nullptr, QStringLiteral("Periodic Table"),
                              QString::fromStdString(status.message));
        return false;
    }
    connect(window, &main::editRequested, this, &Program::showEditor);
    connect(window, &main::aboutRequested, this, &Program::showAbout);
    main_ = window;
    window->show();
    // The pointer is drawn for the screen the window is on, and again when the
    // window moves to a screen of another scale.
    const auto fitPointer = [window] {
        window->centralWidget()->setCursor(magnifierCursor(window->devicePixelRatioF()));
    };
    fitPointer();
    connect(window->windowHandle(), &QWindow::screenChanged, window, fitPointer);
    return true;
}

Edit* Program::showEditor() {
    if (!editor_) {
        editor_ = new Edit(files_);
        connect(editor_, &Edit::helpRequested, this, &Program::showHelp);
    }
    return bringForward(editor_.data());
}

About* Program::showAbout() {
    if (!about_) {
        about_ = new About;
    }
    return bringForward(about_.data());
}

EditHelp* Program::showHelp() {
    if (!help_) {
        help_ = new EditHelp;
    }
    return bringForward(help_.data());
}

}  // namespace orbitra
