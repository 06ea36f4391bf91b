#include <QPainterPath>
#include <QPolygonF>
#include <array>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

QImage PanelWithTitleBar(int width, int height, int barHeight, const QString& title) {
    QImage image = NewPicture(width, height, palette::kPanelTop);
    QPainter painter;
    StartPainter(painter, image);
    FillGradient(painter, QRectF(0, 0, width, height), palette::kPanelTop, palette::kPanelBottom);
    FillGradient(painter, QRectF(0, 0, width, barHeight), palette::kNavyLight, palette::kNavy);
    DrawText(painter, QRectF(14, 0, width - 60, barHeight), title, SkinFont(13, true),
             palette::kOnNavy);
    return image;
}

void DrawTick(QPainter& painter, const QPointF& centre, qreal size, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, size / 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const std::array<QPointF, 3> tick = {centre + QPointF(-size * 0.3, 0),
                                         centre + QPointF(-size * 0.08, size * 0.24),
                                         centre + QPointF(size * 0.32, -size * 0.22)};
    painter.drawPolyline(tick.data(), 3);
    painter.restore();
}

// The summary window shows 306 x 227 of its 308 x 229 picture; the program writes the summary
// at 72, 69 (211 x 100) and shows the save button at 205, 182 in the anonymous modes.
QImage PaintSummary() {
    constexpr int kClientWidth = 306;
    constexpr int kClientHeight = 227;
    QImage image = PanelWithTitleBar(308, 229, 30, QStringLiteral("Podsumowanie"));
    QPainter painter;
    StartPainter(painter, image);
    DrawCloseMark(painter, QRectF(283, 6, 17, 17), palette::kOnNavy);
    painter.setPen(QPen(palette::kCard, 2));
    painter.setBrush(palette::kBlue);
    painter.drawEllipse(QPointF(36, 92), 21, 21);
    DrawTick(painter, QPointF(36, 92), 26, palette::kOnNavy);
    DrawCard(painter, QRectF(64, 62, 228, 114), 8, palette::kCard, palette::kCardBorder);
    DrawText(painter, QRectF(14, 182, 180, 27),
             QStringLiteral("Odpowiedzi możesz jeszcze\nprzejrzeć w oknie testu."), SkinFont(10),
             palette::kInkSoft, Qt::AlignLeft | Qt::AlignVCenter);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, kClientWidth - 1, kClientHeight - 1));
    return image;
}

void DrawDisk(QPainter& painter, const QRectF& area) {
    DrawCard(painter, area, 2, palette::kNavyLight, palette::kNavy);
    painter.fillRect(
        QRectF(area.left() + 3, area.top() + 1, area.width() - 6, area.height() * 0.36),
        palette::kCard);
    painter.fillRect(QRectF(area.left() + 3, area.bottom() - area.height() * 0.32, area.width() - 6,
                            area.height() * 0.32 - 1),
                     palette::kFrame);
}

QImage PaintSaveButton(const QImage& summary) {
    QImage image = CropPicture(summary, 205, 182, 76, 27);
    QPainter painter;
    StartPainter(painter, image);
    DrawButton(painter, QRectF(0, 0, 76, 27), QString(), -1, ButtonLook::Normal);
    DrawDisk(painter, QRectF(9, 7, 13, 13));
    DrawText(painter, QRectF(24, 0, 50, 27), QStringLiteral("Zapisz"), SkinFont(12), palette::kInk,
             Qt::AlignCenter);
    return image;
}

// The legend: the marks stand left of the program's four texts (from x = 44 at y = 36, 61, 86
// and 112); the check box "Nie pokazuj legendy" is at 200, 133. The window's corners are
// arcs of a 12 x 12 ellipse.
QImage PaintLegend() {
    constexpr int kWidth = 376;
    constexpr int kHeight = 165;
    QImage image = PanelWithTitleBar(kWidth, kHeight, 29, QString());
    QPainter painter;
    StartPainter(painter, image);
    DrawText(painter, QRectF(12, 6, 320, 17), QStringLiteral("Legenda"), SkinFont(13, true),
             palette::kOnNavy);
    DrawCloseMark(painter, QRectF(351, 5, 17, 16), palette::kOnNavy);
    DrawCard(painter, QRectF(6, 30, 364, 102), 6, palette::kCard, palette::kCardBorder);
    constexpr std::array<int, 4> kTextTops = {36, 61, 86, 112};
    for (int state = 0; state < 4; ++state) {
        const qreal middle = kTextTops[static_cast<std::size_t>(state)] + 6.5;
        DrawLetterTile(painter, QRectF(14, middle - 10.5, 21, 21), QLatin1Char('A'), state);
    }
    DrawText(painter, QRectF(12, 133, 186, 16), QStringLiteral("Kolory liter po ocenie testu"),
             SkinFont(10), palette::kInkSoft);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 6, 6);
    return image;
}

// The about picture; the window is this 366 x 239 rectangle with its corners cut by 4 pixels,
// the close mark is at 322, 20 (25 x 17).
QImage PaintAbout() {
    constexpr int kWidth = 366;
    constexpr int kHeight = 239;
    QImage image = PanelWithTitleBar(kWidth, kHeight, 62, QString());
    QPainter painter;
    StartPainter(painter, image);
    DrawEmblem(painter, QPointF(20, 12), 38);
    DrawText(painter, QRectF(60, 9, 250, 28), QStringLiteral("Oplix Test"), SkinFont(22, true),
             palette::kOnNavy);
    DrawText(painter, QRectF(61, 36, 250, 18), QStringLiteral("Rozwiązywanie testów wyboru"),
             SkinFont(12), palette::kFrame);
    DrawCloseMark(painter, QRectF(322, 20, 25, 17), palette::kOnNavy);
    DrawText(painter, QRectF(24, 74, 318, 20), QStringLiteral("Wersja 0.1"), SkinFont(13, true),
             palette::kNavy);
    DrawText(painter, QRectF(24, 96, 318, 52),
             QStringLiteral("Program, w którym uczeń rozwiązuje test wyboru przygotowany przez "
                            "nauczyciela, a po ocenie poznaje swój wynik."),
             SkinFont(12), palette::kInk, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    const QFont label = SkinFont(12, true);
    const QFont value = SkinFont(12);
    DrawText(painter, QRectF(24, 152, 90, 18), QStringLiteral("Autorzy:"), label,
             palette::kInkSoft);
    DrawText(painter, QRectF(110, 152, 230, 18), QStringLiteral("zespół Oplix"), value,
             palette::kInk);
    DrawText(painter, QRectF(24, 172, 90, 18), QStringLiteral("Wydanie:"), label,
             palette::kInkSoft);
    DrawText(painter, QRectF(110, 172, 230, 18), QStringLiteral("grudzień 2026"), value,
             palette::kInk);
    FillGradient(painter, QRectF(1, 204, kWidth - 2, kHeight - 205), palette::kFrame,
                 palette::kPanelBottom);
    DrawText(painter, QRectF(24, 204, 318, 34), QStringLiteral("Pomoc do programu: klawisz F1"),
             SkinFont(11), palette::kInkSoft);
    const QPolygonF outline({QPointF(361.5, 0.5), QPointF(365.5, 4.5), QPointF(365.5, 234.5),
                             QPointF(361.5, 238.5), QPointF(4.5, 238.5), QPointF(0.5, 234.5),
                             QPointF(0.5, 4.5), QPointF(4.5, 0.5)});
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline);
    return image;
}

}  // namespace

SkinPictures PaintSmallWindows() {
    const QImage summary = PaintSummary();
    return {
        {SkinPictureId::OknoPodsumowania, summary},
        {SkinPictureId::Zapisz, PaintSaveButton(summary)},
        {SkinPictureId::OknoLegendy, PaintLegend()},
        {SkinPictureId::Winieta, PaintAbout()},
    };
}

}  // namespace oplix::artwork
