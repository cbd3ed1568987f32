#pragma once

#include <QLineEdit>

namespace orbitra {

// A read-only text box that reports a completed left click (press and release
// inside it), the way the element tiles of the table need it.
class TileBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TileBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace orbitra
