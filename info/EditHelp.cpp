#include "EditHelp.h"

namespace orbitra {

EditHelp::EditHelp(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EditHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace orbitra
