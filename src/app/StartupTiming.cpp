#include "app/StartupTiming.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace quolix::app {

namespace {

// Seconds since the process started: its start time in /proc/self/stat is
// counted in clock ticks since boot, like CLOCK_BOOTTIME.
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const size_t afterName = line.rfind(')');
    if (afterName == std::string::npos) {
        return -1.0;
    }
    std::istringstream fields(line.substr(afterName + 2));
    std::string field;
    // Field 22 of the line is the start time; the state is field 3.
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double started = std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started;
}

class FirstPaintWatcher : public QObject {
  public:
    explicit FirstPaintWatcher(QWidget& widget) : QObject(&widget) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Runs once the paint that is about to happen has finished.
            QTimer::singleShot(0, [] {
                std::fprintf(stderr, "quolix: first paint %.0f ms after start\n",
                             SecondsSinceProcessStart() * 1000.0);
            });
        }
        return false;
    }
};

}  // namespace

void ReportFirstPaint(QWidget& widget) {
    widget.installEventFilter(new FirstPaintWatcher(widget));  // owned by the widget
}

}  // namespace quolix::app
