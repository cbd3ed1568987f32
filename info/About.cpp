#include "About.h"

namespace orbitra {

About::About(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace orbitra
