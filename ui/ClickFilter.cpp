#include "ClickFilter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace orbitra {

ClickFilter::ClickFilter(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        const bool click = pressed_ && mouse->button() == Qt::LeftButton &&
                           widget->rect().contains(mouse->position().toPoint());
        pressed_ = false;
        if (click) {
            Q_EMIT clicked();
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Space:
                Q_EMIT clicked();
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
                Q_EMIT arrowPressed(key->key());
                return true;
            default:
                break;
        }
    }
    return false;
}

}  // namespace orbitra
