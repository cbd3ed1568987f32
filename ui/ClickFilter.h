#pragma once

#include <QObject>

class QWidget;

namespace orbitra {

// Reports completed left clicks on a widget, a press and a release of the left
// button inside it, the way the tiles and the About window's author name need
// them. The widget keeps its own handling of the mouse.
class ClickFilter : public QObject {
    Q_OBJECT
public:
    // Watches `widget`, which owns the filter.
    explicit ClickFilter(QWidget* widget);

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace orbitra
