#include "ui/widgets/ProgressCyl.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace oplix::ui {
namespace {

// The light falls on the cylinder a little left of its axis.
constexpr double kLightLine = 0.35;

// The colour of one column of a part, `across` running from 0 at the left edge to 1 at the
// right: darker away from the light line, with a soft highlight along it.
QColor Shaded(const QColor& colour, double across) {
    const double distance = across - kLightLine;
    const double shade = std::clamp(1.0 - 1.6 * distance * distance, 0.45, 1.0);
    const double highlight = std::max(0.0, 1.0 - std::abs(distance) * 6.0) * 0.35;
    const auto channel = [&](int value) {
        const double lit = value * shade;
        return static_cast<int>(std::lround(lit + (255.0 - lit) * highlight));
    };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

QString HintText(QString hint) {
    hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    hint.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return hint;
}

}  // namespace

ProgressCyl::ProgressCyl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressCyl::setMax(int max) {
    const int oldFilled = filledHeight();
    const int oldPercentage = percentage();
    max_ = max <= minimum() ? minimum() + 1 : max;
    position_ = std::clamp(position_, minimum(), max_);
    RepaintIfLookChanged(oldFilled, oldPercentage);
}

void ProgressCyl::setPosition(int position) {
    const int oldFilled = filledHeight();
    const int oldPercentage = percentage();
    position_ = std::clamp(position, minimum(), max_);
    RepaintIfLookChanged(oldFilled, oldPercentage);
}

void ProgressCyl::setForeColor(const QColor& colour) {
    if (colour != foreColour_) {
        foreColour_ = colour;
        update();
    }
}

void ProgressCyl::setHint(const QString& hint) {
    setToolTip(HintText(hint));
}

QRect ProgressCyl::Inside() const {
    return rect().adjusted(1, 1, -1, -1);
}

int ProgressCyl::filledHeight() const {
    return static_cast<int>(std::lround(static_cast<double>(Inside().height()) *
                                        (position_ - minimum()) / (max_ - minimum())));
}

int ProgressCyl::percentage() const {
    return static_cast<int>(
        std::lround(100.0 * (position_ - minimum()) / static_cast<double>(max_ - minimum())));
}

void ProgressCyl::RepaintIfLookChanged(int oldFilled, int oldPercentage) {
    if (filledHeight() != oldFilled || percentage() != oldPercentage) {
        update();
    }
}

void ProgressCyl::paintEvent(QPaintEvent*) {
    QImage picture(size(), QImage::Format_RGB32);
    picture.fill(BorderColor());
    const QRect inside = Inside();
    const int filledTop = inside.bottom() + 1 - filledHeight();
    QPainter drawing(&picture);
    for (int x = inside.left(); x <= inside.right(); ++x) {
        const double across = (x - inside.left() + 0.5) / inside.width();
        drawing.setPen(Shaded(BackColor(), across));
        if (filledTop > inside.top()) {
            drawing.drawLine(x, inside.top(), x, filledTop - 1);
        }
        drawing.setPen(Shaded(foreColour_, across));
        if (filledTop <= inside.bottom()) {
            drawing.drawLine(x, filledTop, x, inside.bottom());
        }
    }
    if (filledTop > inside.top() && filledTop <= inside.bottom()) {
        drawing.setPen(palette().color(QPalette::Highlight));
        drawing.drawLine(inside.left(), filledTop, inside.right(), filledTop);
    }
    drawing.end();
    QPainter(this).drawImage(0, 0, picture);
}

}  // namespace oplix::ui
