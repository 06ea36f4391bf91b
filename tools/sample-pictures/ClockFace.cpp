#include <QPainter>
#include <QtMath>

#include "Drawings.h"

namespace oplix::samples {
namespace {

constexpr QPointF kCentre(160, 120);
constexpr double kRadius = 105;

// A point at `distance` from the centre in the direction of `degrees` clockwise from twelve.
QPointF OnDial(double degrees, double distance) {
    const double radians = qDegreesToRadians(degrees);
    return kCentre + QPointF(std::sin(radians) * distance, -std::cos(radians) * distance);
}

void DrawHand(QPainter& painter, double degrees, double length, double width) {
    painter.setPen(QPen(QColor(30, 30, 30), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(kCentre, OnDial(degrees, length));
}

}  // namespace

QImage ClockFace(int hours, int minutes) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 4));
    painter.setBrush(QColor(255, 250, 235));
    painter.drawEllipse(kCentre, kRadius, kRadius);
    for (int tick = 0; tick < 60; ++tick) {
        const bool hour = tick % 5 == 0;
        painter.setPen(QPen(QColor(40, 40, 40), hour ? 3 : 1));
        painter.drawLine(OnDial(tick * 6.0, kRadius - (hour ? 12 : 6)),
                         OnDial(tick * 6.0, kRadius - 2));
    }
    painter.setFont(LabelFont(18, true));
    for (int number = 1; number <= 12; ++number) {
        const QPointF at = OnDial(number * 30.0, kRadius - 28);
        painter.drawText(QRectF(at.x() - 15, at.y() - 12, 30, 24), Qt::AlignCenter,
                         QString::number(number));
    }
    const double minuteAngle = minutes * 6.0;
    const double hourAngle = (hours % 12) * 30.0 + minutes * 0.5;
    DrawHand(painter, hourAngle, 55, 8);
    DrawHand(painter, minuteAngle, 85, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(180, 30, 30));
    painter.drawEllipse(kCentre, 6, 6);
    return image;
}

}  // namespace oplix::samples
