#include "Controls.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
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

QFont layoutFont() {
    static const QFont font = [] {
        const QString classic = layoutFontFamily();
        QFont::insertSubstitutions(
            classic, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans Condensed")});
        QFont chosen(classic, 8);
        const QString found = QFontInfo(chosen).family();
        if (found != QLatin1String("MS Sans Serif") &&
            found != QLatin1String("Microsoft Sans Serif")) {
            chosen.setPointSizeF(7.5);
        }
        chosen.setResolveMask(QFont::AllPropertiesResolved);
        return chosen;
    }();
    return font;
}

}  // namespace orbitra
