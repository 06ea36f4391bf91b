#include <QLinearGradient>
#include <QPolygonF>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

constexpr int kBarWidth = 16;
constexpr int kSliderLength = 388;

enum class Pointing { Up, Down, Right };

QPolygonF Triangle(const QPointF& c, Pointing pointing, qreal half) {
    switch (pointing) {
        case Pointing::Up:
            return QPolygonF({c + QPointF(-half, half * 0.6), c + QPointF(half, half * 0.6),
                              c + QPointF(0, -half * 0.6)});
        case Pointing::Down:
            return QPolygonF({c + QPointF(-half, -half * 0.6), c + QPointF(half, -half * 0.6),
                              c + QPointF(0, half * 0.6)});
        case Pointing::Right:
            break;
    }
    return QPolygonF({c + QPointF(-half * 0.6, -half), c + QPointF(-half * 0.6, half),
                      c + QPointF(half * 0.6, 0)});
}

void DrawTriangle(QPainter& painter, const QPolygonF& triangle, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
    painter.restore();
}

// The bar's arrow buttons lie on the white track.
QImage PaintArrowButton(Pointing pointing) {
    QImage image = NewPicture(kBarWidth, kBarWidth, palette::kCard);
    QPainter painter;
    StartPainter(painter, image);
    DrawGradientCard(painter, QRectF(1, 1, 14, 14), 3, palette::kPanelTop, palette::kFrame,
                     palette::kCardBorder);
    DrawTriangle(painter, Triangle(QPointF(8, 8), pointing, 3.5), palette::kNavyLight);
    return image;
}

// The slider is fitted to its rectangle, so it changes only across the bar.
QImage PaintSlider() {
    QImage image = NewPicture(kBarWidth, kSliderLength, palette::kCard);
    QPainter painter;
    StartPainter(painter, image);
    QLinearGradient across(QPointF(2, 0), QPointF(14, 0));
    across.setColorAt(0, palette::kBlueLight.lighter(118));
    across.setColorAt(1, palette::kBlueLight);
    painter.setPen(QPen(palette::kNavyLight, 1));
    painter.setBrush(across);
    painter.drawRoundedRect(QRectF(2.5, 0.5, 11, kSliderLength - 1), 5, 5);
    painter.fillRect(QRectF(5, 4, 1, kSliderLength - 8), QColor(255, 255, 255, 110));
    return image;
}

// The tree's arrows lie on the white tree: "Right" marks a closed group, "Left" an open one
// (drawn pointing down at its open children).
QImage PaintTreeArrow(Pointing pointing) {
    QImage image = NewPicture(kBarWidth, kBarWidth, palette::kCard);
    QPainter painter;
    StartPainter(painter, image);
    DrawTriangle(painter, Triangle(QPointF(8, 8), pointing, 4), palette::kBlue);
    return image;
}

}  // namespace

SkinPictures PaintWidgets() {
    return {
        {SkinPictureId::ListwaGora, PaintArrowButton(Pointing::Up)},
        {SkinPictureId::ListwaDol, PaintArrowButton(Pointing::Down)},
        {SkinPictureId::ListwaSuwak, PaintSlider()},
        {SkinPictureId::Right, PaintTreeArrow(Pointing::Right)},
        {SkinPictureId::Left, PaintTreeArrow(Pointing::Down)},
    };
}

}  // namespace oplix::artwork
