#include "Controls.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
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

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QLabel* captionLabel(QWidget* parent, const QString& name, const QString& caption,
                     const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QStringList showFields(const std::array<QLineEdit*, kPropertyCount>& boxes,
                       const ElementRecord& record) {
    QStringList shown;
    for (int i = 0; i < kPropertyCount; ++i) {
        boxes[i]->setText(QString::fromStdString(record.fields[i]));
        boxes[i]->setCursorPosition(0);
        shown.append(boxes[i]->text());
    }
    return shown;
}

void TabChain::add(QWidget* next) {
    if (previous_ != nullptr) {
        QWidget::setTabOrder(previous_, next);
    }
    previous_ = next;
}

}  // namespace orbitra
