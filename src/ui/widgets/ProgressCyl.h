#pragma once

#include <QColor>
#include <QWidget>

namespace oplix::ui {

// The vertical cylinder gauge of the working time: filled from the bottom up in the fore
// colour, the rest in the back colour, each shaded across its breadth like a lit cylinder,
// inside a thin border. The hint (shown on hover) tells the time worked and the time left.
class ProgressCyl : public QWidget {
    Q_OBJECT
public:
    explicit ProgressCyl(QWidget* parent = nullptr);

    int minimum() const { return 0; }
    int maximum() const { return max_; }
    int position() const { return position_; }
    // A maximum equal to the minimum becomes one more; the position is kept within the range.
    void setMax(int max);
    // Kept within 0 .. maximum: the gauge stops at its maximum.
    void setPosition(int position);
    void setForeColor(const QColor& colour);
    // "\r" breaks the line.
    void setHint(const QString& hint);

    // Rows of the inside filled in the fore colour.
    int filledHeight() const;
    int percentage() const;

    static QColor BackColor() { return QColor(166, 157, 94); }
    static QColor BorderColor() { return QColor(40, 27, 13); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Inside() const;
    void RepaintIfLookChanged(int oldFilled, int oldPercentage);

    int max_ = 100;
    int position_ = 0;
    QColor foreColour_ = Qt::white;
};

}  // namespace oplix::ui
