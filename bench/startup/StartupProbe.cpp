// oplix_startup_probe: one timed start-up, for the start-up benchmark. Prints one number, the
// CLOCK_MONOTONIC time in microseconds at the moment asked for, and exits.
//   oplix_startup_probe program          the program's windows; the main window first painted
//   oplix_startup_probe bare             a bare frameless window of the main window's size
//   oplix_startup_probe question TEST    the program; prints the microseconds from StartTest
//                                        to the test panel first painted with question 1
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <functional>

#include "testing/TestSession.h"
#include "ui/main/MainWindow.h"
#include "ui/main/ProgramWindows.h"

namespace {

long long NowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Calls `then` once, after the widget's first paint has been handled.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* widget, std::function<void()> then) : then_(std::move(then)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, std::exchange(then_, nullptr));
        }
        return false;
    }

private:
    std::function<void()> then_;
};

void PrintAndQuit(long long value) {
    std::printf("%lld\n", value);
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString what = arguments.value(1);
    if (what == QStringLiteral("bare")) {
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        window.setFixedSize(oplix::ui::MainWindow::kPanelSize);
        FirstPaint painted(&window, [] { PrintAndQuit(NowMicroseconds()); });
        window.show();
        return application.exec();
    }
    QApplication::setApplicationDisplayName(QStringLiteral("Oplix - Test 4.0"));
    oplix::ui::ProgramWindows windows;
    if (what == QStringLiteral("program")) {
        FirstPaint painted(&windows.Main(), [] { PrintAndQuit(NowMicroseconds()); });
        windows.Prepare({});
        return application.exec();
    }
    if (what != QStringLiteral("question") || arguments.size() < 3) {
        std::fputs("usage: oplix_startup_probe program|bare|question TEST\n", stderr);
        return 2;
    }
    windows.Prepare({});
    long long started = 0;
    QWidget* panel = windows.Main().findChild<QWidget*>(QStringLiteral("PTest"));
    FirstPaint painted(panel != nullptr ? panel : &windows.Main(),
                       [&started] { PrintAndQuit(NowMicroseconds() - started); });
    QTimer::singleShot(0, [&] {
        oplix::CurrentChoice choice;
        choice.testPath = arguments.at(2).toStdString();
        choice.mode = oplix::StartMode::TestFileAnonymously;
        started = NowMicroseconds();
        if (!windows.Session().StartTest(choice)) {
            std::fputs("the test did not start\n", stderr);
            QCoreApplication::exit(1);
        }
    });
    return application.exec();
}
