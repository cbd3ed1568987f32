#pragma once

// The information windows: the editor's help page (EditHelp) and the About
// window with its clock and mail link. Each closes to nothing; app/ creates a
// fresh one on the next request.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace orbitra {

// The About window's notice: six lines joined by CR LF, the last one empty.
QString aboutNotice();

// The About window: title, a clock that follows the seconds while the window is
// open, the notice, the author's name (a click writes to the author) and "OK".
class About : public QWidget {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);

private:
    void createControls();
    void createConnections();
    void Command1_Click();
    void Label5_Click();
    void Timer1_Timer();

    QLabel* const Label1;
    QLabel* const Label2;
    QPushButton* const Command1;
    QPlainTextEdit* const Text1;
    QLabel* const Label3;
    QLabel* const Label4;
    QLabel* const Label5;
    QTimer* const Timer1;
};

}  // namespace orbitra
