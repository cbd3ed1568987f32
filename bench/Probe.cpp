#include "Probe.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <sys/resource.h>

namespace bench {

FirstFrame::FirstFrame(std::function<void()> then, QObject* parent)
    : QObject(parent), then_(std::move(then)) {}

bool FirstFrame::eventFilter(QObject* watched, QEvent* event) {
    if (!seen_ && event->type() == QEvent::Paint && qobject_cast<QMainWindow*>(watched)) {
        seen_ = true;
        // The window's children paint in the same pass; the frame is complete
        // when control returns to the event loop.
        QTimer::singleShot(0, this, [this] { then_(); });
    }
    return false;
}

void report(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = -1;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

void clickCentre(QWidget* widget) {
    const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

namespace {

struct Usage {
    long long cpuMicros;
    long long switches;
    std::chrono::steady_clock::time_point wall;
};

Usage usageNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) {
        return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec;
    };
    return {micros(usage.ru_utime) + micros(usage.ru_stime), usage.ru_nvcsw + usage.ru_nivcsw,
            std::chrono::steady_clock::now()};
}

}  // namespace

void measureIdleThenExit(int settleMs, int measureMs) {
    QTimer::singleShot(settleMs, Qt::PreciseTimer, [measureMs] {
        const Usage start = usageNow();
        QTimer::singleShot(measureMs, Qt::PreciseTimer, [start] {
            const Usage end = usageNow();
            const auto wall =
                std::chrono::duration_cast<std::chrono::microseconds>(end.wall - start.wall);
            report("idle " + std::to_string(end.cpuMicros - start.cpuMicros) + ' ' +
                   std::to_string(wall.count()) + ' ' +
                   std::to_string(end.switches - start.switches));
            std::_Exit(0);
        });
    });
}

namespace {

QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Offscreen has no window manager to hint, raise or activate windows.
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    previousHandler(type, context, message);
}

}  // namespace

void quietOffscreenWarnings() {
    previousHandler = qInstallMessageHandler(quietHandler);
}

}  // namespace bench
