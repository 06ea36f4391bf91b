#pragma once

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace oplix::ui {

// The skinned vertical scroll bar that stands beside long lists: arrow pictures at both ends,
// a track filled with a vertical gradient and a slider picture fitted to its rectangle. The
// windows keep the bar and the control it scrolls in step themselves, through changed().
class RAMScrollBar : public QWidget {
    Q_OBJECT
public:
    explicit RAMScrollBar(QWidget* parent = nullptr);

    int minimum() const { return 0; }
    int maximum() const { return max_; }
    int position() const { return position_; }
    // The page step in use: never larger than the range.
    int largeChange() const;
    int smallChange() const { return smallChange_; }

    // A maximum below the position brings the position down without changed().
    void setMax(int max);
    // Kept within 0 .. maximum; a change repaints and raises changed().
    void setPosition(int position);
    void setLargeChange(int step) { largeChange_ = step; }
    void setSmallChange(int step) { smallChange_ = step; }
    // 0: no cap on the step of a held arrow.
    void setSmallChangeMax(int step) { smallChangeMax_ = step; }
    void setSpeedFactor(double factor) { speedFactor_ = factor; }
    void setColors(const QColor& top, const QColor& bottom);

    // The rectangles the bar is made of, in its own coordinates.
    QRect topButtonRect() const;
    QRect bottomButtonRect() const;
    QRect trackRect() const;
    QRect sliderRect() const;

signals:
    void changed(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Part { None, TopButton, BottomButton, TrackAbove, TrackBelow, Slider };

    Part PartAt(QPoint point) const;
    int SliderLength() const;
    int SliderOffset() const;
    void Repeat();
    void StepPressedPart();
    int NextArrowStep();
    bool CursorOverPressedPart() const;
    void Drag(QPoint point);

    QImage topPicture_;
    QImage bottomPicture_;
    QImage sliderPicture_;
    QColor colour1_ = Qt::white;
    QColor colour2_ = Qt::white;

    int max_ = 0;
    int position_ = 0;
    int largeChange_ = 1;
    int smallChange_ = 1;
    int smallChangeMax_ = 0;
    double speedFactor_ = 0.0;

    Part pressed_ = Part::None;
    QPoint cursor_;
    QTimer repeat_;
    double step_ = 0.0;      // the last step of a held arrow, 0 before the first
    double fraction_ = 0.0;  // carried from one step of a held arrow to the next
    int dragStartPosition_ = 0;
    int dragStartOffset_ = 0;
    int dragStartY_ = 0;
};

}  // namespace oplix::ui
