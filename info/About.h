#pragma once

#include <QWidget>

namespace orbitra {

// (Being built.)
class About : public QWidget {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);
};

}  // namespace orbitra
