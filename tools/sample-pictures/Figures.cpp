#include <QPainter>
#include <QPolygonF>
#include <QtMath>

#include "Drawings.h"

namespace oplix::samples {
namespace {

const QColor kOutline(20, 40, 90);
const QColor kFill(250, 215, 120);

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kFill);
}

QPolygonF Regular(int corners, QPointF centre, double radius) {
    QPolygonF polygon;
    for (int i = 0; i < corners; ++i) {
        const double angle = qDegreesToRadians(-90.0 + 360.0 * i / corners);
        polygon << centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
    }
    return polygon;
}

QPolygonF Outline(Figure figure) {
    switch (figure) {
        case Figure::Trapezoid:
            return QPolygonF({{40, 190}, {280, 190}, {210, 60}, {110, 60}});
        case Figure::Rhombus:
            return QPolygonF({{160, 20}, {250, 120}, {160, 220}, {70, 120}});
        case Figure::Parallelogram:
            return QPolygonF({{30, 180}, {220, 180}, {290, 60}, {100, 60}});
        case Figure::RegularHexagon:
            return Regular(6, {160, 120}, 100);
        case Figure::RegularPentagon:
            return Regular(5, {160, 125}, 100);
    }
    return {};
}

void Label(QPainter& painter, QRectF box, const QString& text) {
    painter.setFont(LabelFont(18, true));
    painter.setPen(QColor(150, 20, 20));
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

QImage PlaneFigure(Figure figure) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    Prepare(painter);
    painter.drawPolygon(Outline(figure));
    return image;
}

QImage LabelledRectangle(const QString& width, const QString& height) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    Prepare(painter);
    const QRectF rectangle(50, 50, 210, 120);
    painter.drawRect(rectangle);
    Label(painter, QRectF(rectangle.left(), rectangle.bottom() + 8, rectangle.width(), 26), width);
    Label(painter, QRectF(rectangle.right() + 4, rectangle.top(), 56, rectangle.height()), height);
    return image;
}

QImage CircleWithRadius(const QString& radius) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    Prepare(painter);
    const QPointF centre(160, 120);
    painter.drawEllipse(centre, 100, 100);
    painter.drawLine(centre, centre + QPointF(100, 0));
    painter.setBrush(kOutline);
    painter.drawEllipse(centre, 4, 4);
    Label(painter, QRectF(165, 124, 90, 28), radius);
    painter.setFont(LabelFont(18, true));
    painter.setPen(kOutline);
    painter.drawText(QRectF(134, 90, 30, 26), Qt::AlignCenter, "S");
    return image;
}

QImage RightTriangle(const QString& legA, const QString& legB, const QString& hypotenuse) {
    QImage image = NewCanvas(320, 240);
    QPainter painter(&image);
    Prepare(painter);
    const QPointF rightAngle(70, 190);
    const QPointF top(70, 40);
    const QPointF far(270, 190);
    painter.drawPolygon(QPolygonF({rightAngle, top, far}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kOutline, 2));
    painter.drawRect(QRectF(rightAngle.x(), rightAngle.y() - 18, 18, 18));
    Label(painter, QRectF(0, 100, 66, 28), legA);
    Label(painter, QRectF(rightAngle.x(), rightAngle.y() + 8, far.x() - rightAngle.x(), 26), legB);
    Label(painter, QRectF(175, 80, 90, 28), hypotenuse);
    return image;
}

}  // namespace oplix::samples
