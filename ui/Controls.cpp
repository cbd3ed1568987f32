#include "Controls.h"

#include <QFontDatabase>
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

QString layoutFontFamily() {
    const QString classic = QStringLiteral("MS Sans Serif");
    const QString twin = QStringLiteral("Microsoft Sans Serif");
    const bool bitmap =
        QFontDatabase::hasFamily(classic) && !QFontDatabase::isSmoothlyScalable(classic);
    return bitmap && QFontDatabase::hasFamily(twin) ? twin : classic;
}

}  // namespace orbitra
