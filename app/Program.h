#pragma once

// The program: the data file's handles and the one shared instance of each
// window. The windows know nothing of one another; they ask for the editor,
// the About window and the help window by signal, and this class answers.

#include "About.h"
#include "DataFiles.h"
#include "Edit.h"
#include "EditHelp.h"
#include "main.h"

#include <QObject>
#include <QPointer>

namespace orbitra {

class Program : public QObject {
    Q_OBJECT
public:
    Program();
    ~Program() override;

    // Creates and loads the main window and shows it. When the data file cannot
    // be opened, says so in a message box, shows no window and returns false.
    bool start();

    // Each shows its window, creating and loading it first when it is not open,
    // or brings the open one forward; they return the window.
    Edit* showEditor();
    About* showAbout();
    EditHelp* showHelp();

    main* mainWindow() const { return main_; }
    Edit* editor() const { return editor_; }
    About* about() const { return about_; }
    EditHelp* help() const { return help_; }
    DataFiles& files() { return files_; }

private:
    DataFiles files_;
    QPointer<main> main_;
    QPointer<Edit> editor_;
    QPointer<About> about_;
    QPointer<EditHelp> help_;
};

}  // namespace orbitra
