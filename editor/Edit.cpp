#include "Edit.h"

namespace orbitra {

Edit::Edit(DataFiles& files, QWidget* parent) : QMainWindow(parent), files_(files) {
    setObjectName(QStringLiteral("Edit"));
    setWindowTitle(QStringLiteral("Edit data"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace orbitra
