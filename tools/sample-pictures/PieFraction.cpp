#include <QPainter>

#include "Drawings.h"

namespace oplix::samples {

QImage PieFraction(int parts, int shaded) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(60, 20, 200, 200);
    // Qt measures angles in sixteenths of a degree, counter-clockwise from three o'clock.
    const int slice = 360 * 16 / parts;
    painter.setPen(QPen(QColor(20, 20, 60), 3));
    for (int part = 0; part < parts; ++part) {
        painter.setBrush(part < shaded ? QColor(60, 110, 210) : QColor(255, 255, 255));
        painter.drawPie(circle, 90 * 16 - part * slice, -slice);
    }
    return image;
}

}  // namespace oplix::samples
