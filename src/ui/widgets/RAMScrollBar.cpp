#include "ui/widgets/RAMScrollBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

constexpr int kFirstRepeatMs = 250;
constexpr int kRepeatMs = 30;
constexpr int kShortestSlider = 6;

int Rounded(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

RAMScrollBar::RAMScrollBar(QWidget* parent)
    : QWidget(parent),
      topPicture_(LoadSkinPicture(SkinPictureId::ListwaGora)),
      bottomPicture_(LoadSkinPicture(SkinPictureId::ListwaDol)),
      sliderPicture_(LoadSkinPicture(SkinPictureId::ListwaSuwak)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &RAMScrollBar::Repeat);
}

int RAMScrollBar::largeChange() const {
    return std::min(largeChange_, max_);
}

void RAMScrollBar::setMax(int max) {
    max_ = std::max(max, 0);
    if (position_ > max_) {
        position_ = max_;
    }
    update();
}

void RAMScrollBar::setPosition(int position) {
    const int kept = std::clamp(position, 0, max_);
    if (kept == position_) {
        return;
    }
    position_ = kept;
    update();
    emit changed(position_);
}

void RAMScrollBar::setColors(const QColor& top, const QColor& bottom) {
    colour1_ = top;
    colour2_ = bottom;
    update();
}

// The arrow buttons are as long as the bar is wide.
QRect RAMScrollBar::topButtonRect() const {
    return QRect(0, 0, width(), width());
}

QRect RAMScrollBar::bottomButtonRect() const {
    return QRect(0, height() - width(), width(), width());
}

QRect RAMScrollBar::trackRect() const {
    return QRect(0, width(), width(), std::max(0, height() - 2 * width()));
}

int RAMScrollBar::SliderLength() const {
    const int track = trackRect().height();
    const int length =
        Rounded(static_cast<double>(track) * std::max(largeChange(), 1) / (max_ - minimum() + 1));
    return std::min(track, std::max(length, kShortestSlider));
}

int RAMScrollBar::SliderOffset() const {
    if (max_ == minimum()) {
        return 0;
    }
    const int free = trackRect().height() - SliderLength();
    return Rounded(static_cast<double>(free) * (position_ - minimum()) / (max_ - minimum()));
}

QRect RAMScrollBar::sliderRect() const {
    return QRect(0, trackRect().top() + SliderOffset(), width(), SliderLength());
}

void RAMScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect track = trackRect();
    QLinearGradient gradient(track.topLeft(), track.bottomLeft());
    gradient.setColorAt(0.0, colour1_);
    gradient.setColorAt(1.0, colour2_);
    painter.fillRect(track, gradient);
    painter.drawImage(topButtonRect(), topPicture_);
    painter.drawImage(bottomButtonRect(), bottomPicture_);
    painter.drawImage(sliderRect(), sliderPicture_);
}

RAMScrollBar::Part RAMScrollBar::PartAt(QPoint point) const {
    if (!rect().contains(point)) {
        return Part::None;
    }
    if (topButtonRect().contains(point)) {
        return Part::TopButton;
    }
    if (bottomButtonRect().contains(point)) {
        return Part::BottomButton;
    }
    const QRect slider = sliderRect();
    if (point.y() < slider.top()) {
        return Part::TrackAbove;
    }
    if (point.y() > slider.bottom()) {
        return Part::TrackBelow;
    }
    return Part::Slider;
}

void RAMScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    cursor_ = event->position().toPoint();
    pressed_ = PartAt(cursor_);
    step_ = 0.0;
    fraction_ = 0.0;
    if (pressed_ == Part::Slider) {
        dragStartPosition_ = position_;
        dragStartOffset_ = SliderOffset();
        dragStartY_ = cursor_.y();
        return;
    }
    if (pressed_ == Part::None) {
        return;
    }
    StepPressedPart();
    repeat_.start(kFirstRepeatMs);
}

void RAMScrollBar::mouseMoveEvent(QMouseEvent* event) {
    cursor_ = event->position().toPoint();
    if (pressed_ == Part::Slider) {
        Drag(cursor_);
    }
}

void RAMScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    repeat_.stop();
    pressed_ = Part::None;
    step_ = 0.0;
    fraction_ = 0.0;
}

void RAMScrollBar::Repeat() {
    repeat_.setInterval(kRepeatMs);
    if (!CursorOverPressedPart()) {
        // Away from the pressed part the repetition waits, and starts its steps anew.
        step_ = 0.0;
        fraction_ = 0.0;
        return;
    }
    StepPressedPart();
}

bool RAMScrollBar::CursorOverPressedPart() const {
    return pressed_ != Part::None && PartAt(cursor_) == pressed_;
}

void RAMScrollBar::StepPressedPart() {
    switch (pressed_) {
        case Part::TopButton:
            setPosition(position_ - NextArrowStep());
            break;
        case Part::BottomButton:
            setPosition(position_ + NextArrowStep());
            break;
        case Part::TrackAbove:
            setPosition(position_ - largeChange());
            break;
        case Part::TrackBelow:
            setPosition(position_ + largeChange());
            break;
        case Part::Slider:
        case Part::None:
            break;
    }
}

// The first step of a held arrow is the small change; each following one grows by the speed
// factor, the fraction carried on, up to the cap. A step of 0 starts the steps anew.
int RAMScrollBar::NextArrowStep() {
    double value = step_ == 0.0 ? smallChange_ : step_ * speedFactor_ + fraction_;
    if (smallChangeMax_ != 0) {
        value = std::min(value, static_cast<double>(smallChangeMax_));
    }
    const double whole = std::floor(value);
    fraction_ = value - whole;
    step_ = whole;
    return static_cast<int>(whole);
}

void RAMScrollBar::Drag(QPoint point) {
    const int inch = logicalDpiX();
    if (!rect().adjusted(-inch, -inch, inch, inch).contains(point)) {
        setPosition(dragStartPosition_);
        return;
    }
    const int free = trackRect().height() - SliderLength();
    if (free <= 0) {
        return;
    }
    const int offset = std::clamp(dragStartOffset_ + point.y() - dragStartY_, 0, free);
    setPosition(minimum() + Rounded(static_cast<double>(offset) / free * (max_ - minimum())));
}

}  // namespace oplix::ui
