#pragma once

#include "DataFiles.h"

#include <QMainWindow>

namespace orbitra {

// The record editor "Edit data". (Being built.)
class Edit : public QMainWindow {
    Q_OBJECT
public:
    explicit Edit(DataFiles& files, QWidget* parent = nullptr);

Q_SIGNALS:
    void helpRequested();

private:
    DataFiles& files_;
};

}  // namespace orbitra
