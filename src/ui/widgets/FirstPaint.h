#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace oplix::ui {

// Runs `then` once, right after the widget's first paint has been handled, or after
// `latestMs` when no paint comes (a window that is never exposed).
class FirstPaint : public QObject {
    Q_OBJECT
public:
    FirstPaint(QWidget* widget, std::function<void()> then, int latestMs = 1000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run();

    QWidget* widget_;
    std::function<void()> then_;
};

}  // namespace oplix::ui
