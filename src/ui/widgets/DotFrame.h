#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <memory>

class QWidget;

namespace oplix::ui {

// The frame's rectangle in screen coordinates, corners in any order.
struct DotRectangle {
    int left = 0;
    int top = 0;
    int right = 150;
    int bottom = 100;

    bool operator==(const DotRectangle&) const = default;
};

// The dotted rubber-band frame shown above every window while a window is resized. Qt cannot
// draw on the screen with exclusive or, so the frame is a frameless top-level window shaped
// to the ring between the rectangle and the rectangle shrunk by `width`, painted in a
// checkerboard of dark and light pixels fixed to the screen. Hiding that window puts back
// exactly what was under it.
class DotFrame {
public:
    DotFrame();
    // Erases a visible frame first.
    ~DotFrame();
    DotFrame(const DotFrame&) = delete;
    DotFrame& operator=(const DotFrame&) = delete;

    const DotRectangle& frameRect() const { return rectangle_; }
    int width() const { return width_; }
    bool isVisible() const { return visible_; }
    bool isTracking() const { return tracking_; }

    // While visible, each change erases the frame and draws it again.
    void setLeft(int left);
    void setTop(int top);
    void setRight(int right);
    void setBottom(int bottom);
    void setWidth(int width);
    void setVisible(bool visible);

    // The cursor position becomes all four coordinates, and the frame is shown.
    void BeginTracking(QPoint cursor);
    // Only while tracking: the right bottom corner follows the cursor.
    void TrackCursor(QPoint cursor);
    void EndTracking();

    // The pixels the frame covers on the screen now: empty while it is hidden or its ring is.
    QRegion drawnRegion() const;

    // The ring of a rectangle, its corners put in order; right and bottom lie outside it.
    static QRegion Ring(const DotRectangle& rectangle, int width);

private:
    template <typename Change>
    void Redraw(Change change);
    void Draw();
    void Erase();

    DotRectangle rectangle_;
    int width_ = 3;
    bool visible_ = false;
    bool tracking_ = false;
    std::unique_ptr<QWidget> overlay_;
};

}  // namespace oplix::ui
