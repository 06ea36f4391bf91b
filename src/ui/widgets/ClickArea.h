#pragma once

#include <QWidget>

namespace oplix::ui {

// A transparent rectangle laid over a skin picture: it shows the hand cursor, reports clicks
// and tells when the mouse comes over it. Presses, moves and releases are reported too, for
// the title strips that drag their window.
class ClickArea : public QWidget {
    Q_OBJECT
public:
    ClickArea(QWidget* parent, const QRect& rectangle);

signals:
    void clicked();
    void doubleClicked();
    void entered();
    void pressed(QPoint globalPosition);
    void moved(QPoint globalPosition);
    void released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
};

}  // namespace oplix::ui
