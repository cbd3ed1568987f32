#include "ClickFilter.h"

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
    }
    return false;
}

}  // namespace orbitra
