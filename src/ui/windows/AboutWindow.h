#pragma once

#include <QDialog>
#include <functional>

namespace oplix::ui {

// The about window: a picture of the about text, cut to an octagon, with a close mark. Shown
// modally at (320, 210) from the main panel's corner.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // The main panel's top-left corner on the screen.
    void SetPlacement(std::function<QPoint()> panelOrigin) {
        panelOrigin_ = std::move(panelOrigin);
    }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<QPoint()> panelOrigin_;
};

}  // namespace oplix::ui
