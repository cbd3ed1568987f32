#pragma once

// The periodic table window "main": the detail panel across the top, the 110
// element tiles with legend and annotations below it, and the menu bar. It owns
// handle 1 of the data file from Form_Load until it is closed; a tile click
// reads that element's record afresh and shows its fourteen fields. It asks
// for the editor and the About window by signal; app/ owns those windows.

#include "DataFiles.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace orbitra {

class main : public QMainWindow {
    Q_OBJECT
public:
    explicit main(DataFiles& files, QWidget* parent = nullptr);
    ~main() override;

    // Opens the data file as handle kMainHandle (created empty when missing). The
    // window must not be shown when this fails.
    Status Form_Load();

    // Shows record `number` in the fourteen detail boxes. A record past the end
    // of the file empties them; a read error is reported and changes nothing.
    void ShowRecord(qint16 number);

    // The tile that passes atomic number `z` (1..110).
    QLineEdit* tile(int z) const { return tiles_[z - 1]; }
    std::array<QLineEdit*, 14> detailBoxes() const;

Q_SIGNALS:
    void editRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createTable();
    void createDetailPanel();
    void createMenus();
    void createTabOrder();
    QLineEdit* detailBox(int field);

    // Moves the focus from tile `z` one step in the direction of arrow `key`.
    void tile_Arrow(int z, int key);

    void Form_Unload();
    void mmini_Click();
    void mmax_Click();
    void mquit_Click();
    void medit_Click();
    void mabout_Click();

    DataFiles& files_;
    QWidget* const canvas_;
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
    QMenu* const mopt;
    QAction* const mmini;
    QAction* const mmax;
    QAction* const dash;
    QAction* const mquit;
    QAction* const medit;
    QAction* const mabout;
    std::array<QLineEdit*, 110> tiles_{};
};

}  // namespace orbitra
