#include "Controls.h"

#include <QLabel>
#include <QPushButton>

namespace orbitra {

void settleControls(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        label->lower();
    }
    // Outside a dialog an auto-default button is pressed by Enter only while it
    // has the focus.
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }
}

}  // namespace orbitra
