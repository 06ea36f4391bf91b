#include <QPainter>

#include "Drawings.h"

namespace oplix::samples {

QImage BarChart(const QString& title, const std::vector<Bar>& bars, int axisMaximum, int step) {
    QImage image = NewCanvas(360, 260);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(50, 40, 290, 180);
    painter.setFont(LabelFont(15, true));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 6, 360, 24), Qt::AlignCenter, title);

    painter.setFont(LabelFont(12));
    for (int value = 0; value <= axisMaximum; value += step) {
        const double y = plot.bottom() - plot.height() * value / axisMaximum;
        painter.setPen(QPen(QColor(210, 210, 210), 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(4, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(value));
    }
    const double slot = plot.width() / static_cast<double>(bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const double height = plot.height() * bars[i].value / axisMaximum;
        const QRectF bar(plot.left() + slot * i + slot * 0.2, plot.bottom() - height, slot * 0.6,
                         height);
        painter.setPen(QPen(QColor(20, 60, 120), 1.5));
        painter.setBrush(QColor(70, 140, 220));
        painter.drawRect(bar);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(bar.left() - 10, bar.top() - 18, bar.width() + 20, 16),
                         Qt::AlignCenter, QString::number(bars[i].value));
        painter.drawText(QRectF(plot.left() + slot * i, plot.bottom() + 6, slot, 18),
                         Qt::AlignCenter, bars[i].label);
    }
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    return image;
}

}  // namespace oplix::samples
