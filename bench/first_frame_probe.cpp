// Preloaded into a Qt program: reports when its first window's first frame is out, then ends it.
//
// Loaded with LD_PRELOAD by process_start_bench, so the program measured is the one shipped,
// with no hook of its own. FIRST_FRAME_FD names an inherited pipe; the probe writes the
// CLOCK_MONOTONIC time of the first frame to it as 8 bytes of nanoseconds and leaves with
// _exit(), so neither the event loop's idle time nor the teardown is counted.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <ctime>
#include <unistd.h>

namespace {

class FirstFrameProbe : public QObject {
  public:
    FirstFrameProbe(int fd, QObject* parent) : QObject(parent), m_fd(fd) {}

  protected:
    // The repaint manager paints a window's whole widget tree, top-level first, and flushes it
    // in one synchronous step; a queued call made during the top-level's paint runs after it.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            QMetaObject::invokeMethod(this, &FirstFrameProbe::Report, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void Report() const {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::int64_t ns = std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
        const bool written = write(m_fd, &ns, sizeof ns) == sizeof ns;
        _exit(written ? 0 : 1);
    }

    int m_fd;
    bool m_seen = false;
};

// Runs while the application object is being set up, before the program builds any window.
void InstallProbe() {
    bool ok = false;
    const int fd = qEnvironmentVariableIntValue("FIRST_FRAME_FD", &ok);
    if (ok && fd > 2) {
        QCoreApplication* app = QCoreApplication::instance();
        app->installEventFilter(new FirstFrameProbe(fd, app));
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
