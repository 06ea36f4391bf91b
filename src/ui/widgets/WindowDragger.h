#pragma once

#include <QObject>
#include <QPoint>

namespace oplix::ui {

class ClickArea;

// Moves a window by the cursor's movement while the mouse button is held on its title strip.
// While `enabled` says no (the main window filling the work area), pressing does nothing.
class WindowDragger : public QObject {
    Q_OBJECT
public:
    WindowDragger(QWidget* window, ClickArea* strip);

    void setEnabled(bool enabled) { enabled_ = enabled; }
    void attach(ClickArea* strip);

private:
    void start(QPoint globalPosition);
    void follow(QPoint globalPosition);

    QWidget* window_;
    bool enabled_ = true;
    bool dragging_ = false;
    QPoint last_;
};

}  // namespace oplix::ui
