#include "ui/widgets/DotFrame.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace oplix::ui {
namespace {

// Rows of the 8 x 8 pattern alternate the bits 0x55 and 0xAA: every other pixel is dark.
QImage Checkerboard() {
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        const int bits = y % 2 == 0 ? 0x55 : 0xAA;
        for (int x = 0; x < 8; ++x) {
            const bool dark = (bits >> (7 - x)) & 1;
            pattern.setPixel(x, y, dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return pattern;
}

// The top-level window that shows the ring; it never takes the focus or the mouse.
class DottedRing : public QWidget {
public:
    DottedRing()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // The pattern stays fixed to the screen wherever the ring stands.
        painter.setBrushOrigin(-pos().x() % 8, -pos().y() % 8);
        painter.fillRect(rect(), QBrush(Checkerboard()));
    }
};

QRect Ordered(const DotRectangle& rectangle) {
    const int left = std::min(rectangle.left, rectangle.right);
    const int right = std::max(rectangle.left, rectangle.right);
    const int top = std::min(rectangle.top, rectangle.bottom);
    const int bottom = std::max(rectangle.top, rectangle.bottom);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

DotFrame::DotFrame() = default;

DotFrame::~DotFrame() {
    if (visible_) {
        Erase();
    }
}

QRegion DotFrame::Ring(const DotRectangle& rectangle, int width) {
    const QRect outer = Ordered(rectangle);
    if (outer.isEmpty()) {
        return {};
    }
    const int inset = std::max(width, 0);
    return QRegion(outer).subtracted(QRegion(outer.adjusted(inset, inset, -inset, -inset)));
}

QRegion DotFrame::drawnRegion() const {
    if (!visible_ || overlay_ == nullptr || !overlay_->isVisible()) {
        return {};
    }
    return overlay_->mask().translated(overlay_->pos());
}

template <typename Change>
void DotFrame::Redraw(Change change) {
    if (visible_) {
        Erase();
    }
    change();
    if (visible_) {
        Draw();
    }
}

void DotFrame::setLeft(int left) {
    if (left != rectangle_.left) {
        Redraw([&] { rectangle_.left = left; });
    }
}

void DotFrame::setTop(int top) {
    if (top != rectangle_.top) {
        Redraw([&] { rectangle_.top = top; });
    }
}

void DotFrame::setRight(int right) {
    if (right != rectangle_.right) {
        Redraw([&] { rectangle_.right = right; });
    }
}

void DotFrame::setBottom(int bottom) {
    if (bottom != rectangle_.bottom) {
        Redraw([&] { rectangle_.bottom = bottom; });
    }
}

void DotFrame::setWidth(int width) {
    if (width != width_) {
        Redraw([&] { width_ = width; });
    }
}

void DotFrame::setVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    if (visible_) {
        Draw();
    } else {
        Erase();
    }
}

void DotFrame::BeginTracking(QPoint cursor) {
    tracking_ = true;
    Redraw([&] { rectangle_ = {cursor.x(), cursor.y(), cursor.x(), cursor.y()}; });
    setVisible(true);
}

void DotFrame::TrackCursor(QPoint cursor) {
    if (!tracking_) {
        return;
    }
    Redraw([&] {
        rectangle_.right = cursor.x();
        rectangle_.bottom = cursor.y();
    });
}

void DotFrame::EndTracking() {
    tracking_ = false;
    setVisible(false);
}

void DotFrame::Draw() {
    const QRegion ring = Ring(rectangle_, width_);
    if (ring.isEmpty()) {
        return;
    }
    if (overlay_ == nullptr) {
        overlay_ = std::make_unique<DottedRing>();
    }
    const QRect bounds = ring.boundingRect();
    overlay_->setGeometry(bounds);
    overlay_->setMask(ring.translated(-bounds.topLeft()));
    overlay_->show();
    overlay_->raise();
}

void DotFrame::Erase() {
    if (overlay_ != nullptr) {
        overlay_->hide();
    }
}

}  // namespace oplix::ui
