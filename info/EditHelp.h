#pragma once

#include <QWidget>

namespace orbitra {

// (Being built.)
class EditHelp : public QWidget {
    Q_OBJECT
public:
    explicit EditHelp(QWidget* parent = nullptr);
};

}  // namespace orbitra
