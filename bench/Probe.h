#pragma once

// The benchmark's child programs (an empty QMainWindow and the real program)
// report to the driver by lines on standard output:
//   "frame"                          the first frame of a main window is painted
//   "rss <KiB>"                      resident memory at that moment
//   "idle <cpu us> <wall us> <ctx>"  CPU time, wall time and context switches
//                                    of the whole process over the idle period
// The driver times "frame" from just before it started the process.

#include <QObject>

#include <functional>
#include <string>

class QEvent;
class QWidget;

namespace bench {

// Installed on the application: calls `then` once, from the event loop, after
// the first paint of a QMainWindow (and of all it holds) has finished.
class FirstFrame : public QObject {
    Q_OBJECT
public:
    explicit FirstFrame(std::function<void()> then, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> then_;
    bool seen_ = false;
};

// Writes one line to standard output and flushes it.
void report(const std::string& line);

// VmRSS of this process in KiB, from /proc/self/status; -1 when unreadable.
long residentKiB();

// A left click at the centre of `widget`: press and release sent through the
// application, which moves the focus as a real click does.
void clickCentre(QWidget* widget);

// Waits `settleMs` for the windows to finish their first work, then measures
// this process for `measureMs`, reports the "idle" line and ends the process.
void measureIdleThenExit(int settleMs, int measureMs);

// Drops the offscreen platform's "This plugin does not support ..." warnings.
void quietOffscreenWarnings();

}  // namespace bench
