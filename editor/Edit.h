#pragma once

// The record editor "Edit data": a record number typed into Text1 loads that
// record of the data file into fourteen free-text boxes; Save writes the boxes
// back as one record at the number typed. Loads and saves go through the main
// window's handle, kMainHandle; the editor holds kEditorHandle of its own while
// it is open and falls back on it once the main window's is closed. Help is
// asked for by signal.

#include "DataFiles.h"

#include <QMainWindow>

#include <array>

class QAction;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace orbitra {

class Edit : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and opens its own handle (Form_Load). When that opening
    // fails the editor still works through the main window's.
    explicit Edit(DataFiles& files, QWidget* parent = nullptr);
    // Closes its own handle if the window goes away without being closed.
    ~Edit() override;

    // cname .. cHF in record order.
    std::array<QLineEdit*, kPropertyCount> fieldBoxes() const;

Q_SIGNALS:
    void helpRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* fieldBox(int field);
    void createControls();
    void createMenus();
    void createConnections();
    void createTabOrder();

    void Form_Load();
    void Form_Unload();
    Status ShowRecord(qint16 number);
    Status recordHandle(int& handle);
    void refuseSave(const QString& reason);

    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void mreset_Click();
    void mhel_Click();
    void mabout_Click();

    DataFiles& files_;
    bool ownsHandle_ = false;
    QWidget* const client_;
    QLineEdit* const cname;
    QLineEdit* const cAN;
    QLineEdit* const cAW;
    QLineEdit* const cMP;
    QLineEdit* const cBP;
    QLineEdit* const cDen;
    QLineEdit* const cEC;
    QLineEdit* const cVE;
    QLineEdit* const cCS;
    QLineEdit* const cSH;
    QLineEdit* const cTC;
    QLineEdit* const EC;
    QLineEdit* const cHV;
    QLineEdit* const cHF;
    QLabel* const Label1;
    QLineEdit* const Text1;
    QPushButton* const Command1;
    QPushButton* const Command2;
    QMenu* const mhelp;
    QAction* const mhel;
    QAction* const mabout;
    QAction* const mreset;
};

}  // namespace orbitra
