// oplix_startup_probe: one timed start-up, for the start-up benchmark. Prints one number, the
// CLOCK_MONOTONIC time in microseconds at the moment asked for, and exits.
//   oplix_startup_probe program          the program's windows; the main window first painted
//   oplix_startup_probe ready            the program; every window and the session made
//   oplix_startup_probe bare             a bare frameless window of the main window's size
//   oplix_startup_probe question TEST    the program; prints the microseconds from StartTest
//                                        to the test panel first painted with question 1
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

#include "testing/TestSession.h"
#include "ui/main/MainWindow.h"
#include "ui/main/ProgramWindows.h"
#include "ui/widgets/FirstPaint.h"

namespace {

long long NowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void PrintAndQuit(long long value) {
    std::printf("%lld\n", value);
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

// Whether a widget has been sent a paint event since the watch began.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    ~PaintWatch() override { widget_->removeEventFilter(this); }
    bool Seen() const { return seen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        seen_ = seen_ || (watched == widget_ && event->type() == QEvent::Paint);
        return false;
    }

private:
    QWidget* widget_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString what = arguments.value(1);
    if (what == QStringLiteral("bare")) {
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        window.setFixedSize(oplix::ui::MainWindow::kPanelSize);
        new oplix::ui::FirstPaint(&window, [] { PrintAndQuit(NowMicroseconds()); });
        window.show();
        return application.exec();
    }
    QApplication::setApplicationDisplayName(QStringLiteral("Oplix - Test 4.0"));
    oplix::ui::ProgramWindows windows;
    if (what == QStringLiteral("program")) {
        windows.Prepare({});
        // Watched after the program's own watcher, so this one sees the paint first and its
        // time is taken before the program goes on to make its other windows.
        new oplix::ui::FirstPaint(&windows.Main(), [] { PrintAndQuit(NowMicroseconds()); });
        return application.exec();
    }
    if (what == QStringLiteral("ready")) {
        windows.Prepare({});
        QTimer ready;
        QObject::connect(&ready, &QTimer::timeout, [&] {
            if (windows.IsReady()) {
                PrintAndQuit(NowMicroseconds());
            }
        });
        ready.start(1);
        return application.exec();
    }
    if (what != QStringLiteral("question") || arguments.size() < 3) {
        std::fputs("usage: oplix_startup_probe program|ready|bare|question TEST\n", stderr);
        return 2;
    }
    windows.Prepare({});
    long long started = 0;
    // Once the program is ready: start the test and wait for the panel's first paint.
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, [&] {
        if (!windows.IsReady()) {
            return;
        }
        ready.stop();
        auto* panel = windows.Main().findChild<QWidget*>(QStringLiteral("PTest"));
        PaintWatch watch(panel);
        oplix::CurrentChoice choice;
        choice.testPath = arguments.at(2).toStdString();
        choice.mode = oplix::StartMode::TestFileAnonymously;
        started = NowMicroseconds();
        windows.StartTest(choice);
        const long long returned = NowMicroseconds();
        if (!windows.Session().IsRunning()) {
            std::fputs("the test did not start\n", stderr);
            QCoreApplication::exit(1);
            return;
        }
        // StartTest paints the panel before it returns, and hands it to the X server; what
        // the event loop does next (the side windows mapped) is not the question's.
        if (watch.Seen()) {
            PrintAndQuit(returned - started);
            return;
        }
        new oplix::ui::FirstPaint(panel, [&started] { PrintAndQuit(NowMicroseconds() - started); });
    });
    ready.start(5);
    return application.exec();
}
