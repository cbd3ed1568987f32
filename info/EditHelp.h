#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace orbitra {

// The editor's help page (Thai): twelve lines joined by CR LF, the last one
// empty, so it ends with CR LF.
QString helpPage();

// The editor's help window "Help": the page in an editable box and "OK", which
// closes (and so destroys) the window. Typing changes only the box.
class EditHelp : public QWidget {
    Q_OBJECT
public:
    explicit EditHelp(QWidget* parent = nullptr);

private:
    void createControls();
    void Command1_Click();

    QPlainTextEdit* const Text1;
    QPushButton* const Command1;
};

}  // namespace orbitra
