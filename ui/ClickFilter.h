#pragma once

#include <QObject>

class QWidget;

namespace orbitra {

// Lets a widget without a click of its own be pressed like a button: reports a
// left click (a press and a release of the left button inside it), and Enter or
// Space while it has the focus; reports the arrow keys pressed on it without
// Shift, Ctrl or Alt, which it then keeps from the widget. The widget keeps the
// rest of its handling of mouse and keys.
class ClickFilter : public QObject {
    Q_OBJECT
public:
    // Watches `widget`, which owns the filter.
    explicit ClickFilter(QWidget* widget);

Q_SIGNALS:
    void clicked();
    // `key` is Qt::Key_Left, Key_Right, Key_Up or Key_Down.
    void arrowPressed(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace orbitra
