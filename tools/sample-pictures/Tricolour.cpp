#include <QPainter>

#include "Drawings.h"

namespace oplix::samples {

QImage Tricolour(Stripes direction, QColor first, QColor second, QColor third) {
    constexpr int kWidth = 300;
    constexpr int kHeight = 200;
    QImage image = NewCanvas(kWidth, kHeight);
    QPainter painter(&image);
    const QColor colours[] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
        // 200 does not divide by 3: each stripe ends where the next begins.
        const QRect stripe =
            direction == Stripes::Vertical
                ? QRect(QPoint(i * kWidth / 3, 0), QPoint((i + 1) * kWidth / 3 - 1, kHeight - 1))
                : QRect(QPoint(0, i * kHeight / 3), QPoint(kWidth - 1, (i + 1) * kHeight / 3 - 1));
        painter.fillRect(stripe, colours[i]);
    }
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    return image;
}

}  // namespace oplix::samples
