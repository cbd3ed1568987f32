#include "TileBox.h"

#include <QMouseEvent>

namespace orbitra {

TileBox::TileBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
}

void TileBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void TileBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        Q_EMIT clicked();
    }
}

}  // namespace orbitra
