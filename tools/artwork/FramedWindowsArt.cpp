#include <QPainterPath>
#include <array>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

// The text and picture windows are a frame of nine pieces round a white centre at 85, 40, or
// a 26-pixel strip when folded. The title band is the top 26 rows of the top pieces and the
// whole strip; the pieces at the edges are stretched, so they change only across the edge.
constexpr int kBand = 26;
constexpr int kTop = 40;        // height of the top pieces
constexpr int kLeft = 85;       // width of the left pieces
constexpr int kRight = 30;      // width of the right pieces
constexpr int kEdgeLong = 600;  // the stretched top, bottom and strip pieces
constexpr int kEdgeTall = 500;  // the stretched side pieces
const QColor kOuter = palette::kNavy.darker(120);

QImage FramePiece(int width, int height) {
    return NewPicture(width, height, palette::kFrame);
}

// The title band across a piece, with the outer line on its top row.
void DrawBand(QPainter& painter, int width) {
    FillGradient(painter, QRectF(0, 0, width, kBand), palette::kNavyLight, palette::kNavy);
    painter.fillRect(QRectF(0, 0, width, 1), kOuter);
}

void DrawLine(QPainter& painter, qreal x, qreal y, qreal width, qreal height,
              const QColor& colour) {
    painter.fillRect(QRectF(x, y, width, height), colour);
}

// A mark in the title band: fold (chevron up) or unfold (chevron down), 18 x 17 at 5, 5.
void DrawFoldMark(QPainter& painter, bool unfold) {
    const QRectF area(5, 5, 18, 17);
    DrawCard(painter, area, 3, palette::kNavyLight.lighter(120), kOuter);
    const QPointF c = area.center();
    const qreal dy = unfold ? 2 : -2;
    painter.save();
    painter.setPen(QPen(palette::kOnNavy, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const std::array<QPointF, 3> chevron = {c + QPointF(-4.5, -dy), c + QPointF(0, dy),
                                            c + QPointF(4.5, -dy)};
    painter.drawPolyline(chevron.data(), 3);
    painter.restore();
}

QImage PaintTop() {
    QImage image = FramePiece(kEdgeLong, kTop);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kEdgeLong);
    DrawLine(painter, 0, kTop - 1, kEdgeLong, 1, palette::kCardBorder);
    return image;
}

QImage PaintRightTop() {
    QImage image = FramePiece(kRight, kTop);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kRight);
    DrawLine(painter, kRight - 1, 0, 1, kTop, kOuter);
    DrawLine(painter, 0, kTop - 1, 1, 1, palette::kCardBorder);
    DrawFoldMark(painter, false);
    return image;
}

QImage PaintLeftEdge() {
    QImage image = FramePiece(kLeft, kEdgeTall);
    QPainter painter(&image);
    DrawLine(painter, 0, 0, 1, kEdgeTall, kOuter);
    DrawLine(painter, kLeft - 1, 0, 1, kEdgeTall, palette::kCardBorder);
    return image;
}

QImage PaintRightEdge() {
    QImage image = FramePiece(kRight, kEdgeTall);
    QPainter painter(&image);
    DrawLine(painter, 0, 0, 1, kEdgeTall, palette::kCardBorder);
    DrawLine(painter, kRight - 1, 0, 1, kEdgeTall, kOuter);
    return image;
}

enum class BottomPart { Left, Middle, Right };

QImage PaintBottom(BottomPart part, int width, int height, bool grip) {
    QImage image = FramePiece(width, height);
    QPainter painter;
    StartPainter(painter, image);
    DrawLine(painter, 0, height - 1, width, 1, kOuter);
    if (part == BottomPart::Left) {
        DrawLine(painter, 0, 0, 1, height, kOuter);
    }
    if (part == BottomPart::Right) {
        DrawLine(painter, width - 1, 0, 1, height, kOuter);
    }
    if (grip) {
        // The height grip at 12, 10 (13 x 14): three short diagonals in its lower right.
        painter.setPen(QPen(palette::kInkSoft, 1.3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i) {
            const qreal reach = 4 + 4 * i;
            painter.drawLine(QPointF(24.5 - reach, 23.5), QPointF(24.5, 23.5 - reach));
        }
    }
    return image;
}

QImage PaintStripMiddle() {
    QImage image = FramePiece(kEdgeLong, kBand);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kEdgeLong);
    DrawLine(painter, 0, kBand - 1, kEdgeLong, 1, kOuter);
    return image;
}

QImage PaintStripRight() {
    QImage image = FramePiece(kRight, kBand);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kRight);
    DrawLine(painter, 0, kBand - 1, kRight, 1, kOuter);
    DrawLine(painter, kRight - 1, 0, 1, kBand, kOuter);
    DrawFoldMark(painter, true);
    return image;
}

void DrawWindowLabel(QPainter& painter, const QString& label) {
    DrawText(painter, QRectF(12, 4, kLeft - 14, 18), label, SkinFont(12, true), palette::kOnNavy);
}

QImage PaintStripLeft(const QString& label) {
    QImage image = FramePiece(kLeft, kBand);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kLeft);
    DrawLine(painter, 0, kBand - 1, kLeft, 1, kOuter);
    DrawLine(painter, 0, 0, 1, kBand, kOuter);
    DrawWindowLabel(painter, label);
    return image;
}

// Two overlapping sheets: the copy area of a window (29 x 30), captioned below.
void DrawCopyTool(QPainter& painter, const QPointF& topLeft) {
    DrawCard(painter, QRectF(topLeft + QPointF(3, 2), QSizeF(16, 20)), 2, palette::kCard,
             palette::kInkSoft);
    DrawCard(painter, QRectF(topLeft + QPointF(10, 8), QSizeF(16, 20)), 2, palette::kCard,
             palette::kNavyLight);
    for (int line = 0; line < 3; ++line) {
        DrawLine(painter, topLeft.x() + 13, topLeft.y() + 13 + 4 * line, 10, 1.2,
                 palette::kCardBorder.darker(110));
    }
    DrawText(painter, QRectF(0, topLeft.y() + 31, kLeft, 14), QStringLiteral("Kopiuj"),
             SkinFont(10), palette::kInkSoft, Qt::AlignCenter);
}

QImage PaintLeftTop(int height, const QString& label, const QPointF& copyTool) {
    QImage image = FramePiece(kLeft, height);
    QPainter painter;
    StartPainter(painter, image);
    DrawBand(painter, kLeft);
    DrawLine(painter, 0, 0, 1, height, kOuter);
    DrawLine(painter, kLeft - 1, kTop - 1, 1, height - kTop + 1, palette::kCardBorder);
    DrawWindowLabel(painter, label);
    DrawCopyTool(painter, copyTool);
    return image;
}

enum class ToolGlyph { SmallerFont, LargerFont, Enlarge, Reduce };

void DrawMagnifier(QPainter& painter, const QPointF& centre, bool plus) {
    painter.save();
    painter.setPen(QPen(palette::kNavy, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(palette::kCard);
    painter.drawEllipse(centre, 8, 8);
    painter.drawLine(centre + QPointF(6, 6), centre + QPointF(12, 12));
    painter.setPen(QPen(palette::kNavy, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-4, 0), centre + QPointF(4, 0));
    if (plus) {
        painter.drawLine(centre + QPointF(0, -4), centre + QPointF(0, 4));
    }
    painter.restore();
}

// A 40 x 45 tool button standing at `place` on its left top piece.
QImage PaintTool(const QImage& leftTop, const QPoint& place, ToolGlyph glyph) {
    QImage image = CropPicture(leftTop, place.x(), place.y(), 40, 45);
    QPainter painter;
    StartPainter(painter, image);
    DrawButton(painter, QRectF(1, 1, 38, 43), QString(), -1, ButtonLook::Normal);
    switch (glyph) {
        case ToolGlyph::SmallerFont:
        case ToolGlyph::LargerFont: {
            const bool larger = glyph == ToolGlyph::LargerFont;
            DrawText(painter, QRectF(4, 6, 22, 32), QStringLiteral("A"),
                     SkinFont(larger ? 22 : 16, true), palette::kNavy, Qt::AlignCenter);
            DrawText(painter, QRectF(22, 6, 16, 24),
                     larger ? QStringLiteral("+") : QStringLiteral("−"), SkinFont(16, true),
                     palette::kBlue, Qt::AlignCenter);
            break;
        }
        case ToolGlyph::Enlarge:
        case ToolGlyph::Reduce:
            DrawMagnifier(painter, QPointF(18, 20), glyph == ToolGlyph::Enlarge);
            break;
    }
    return image;
}

}  // namespace

SkinPictures PaintFramedWindows() {
    // Text window: font tools at 23, 40 and 23, 90, copy area at 28, 148; bottom pieces 29 high.
    const QImage textLeftTop = PaintLeftTop(200, QStringLiteral("Tekst"), QPointF(28, 148));
    // Picture window: the enlarge and reduce tools share 24, 40, copy area at 29, 101; bottom
    // pieces 25 high.
    const QImage pictureLeftTop = PaintLeftTop(160, QStringLiteral("Obraz"), QPointF(29, 101));
    return {
        {SkinPictureId::RamkaGora, PaintTop()},
        {SkinPictureId::RamkaPrawaGora, PaintRightTop()},
        {SkinPictureId::RamkaLewa, PaintLeftEdge()},
        {SkinPictureId::RamkaPrawa, PaintRightEdge()},
        {SkinPictureId::PasekSrodek, PaintStripMiddle()},
        {SkinPictureId::PasekPrawy, PaintStripRight()},
        {SkinPictureId::TekstLewaGora, textLeftTop},
        {SkinPictureId::TekstZmniejsz, PaintTool(textLeftTop, {23, 40}, ToolGlyph::SmallerFont)},
        {SkinPictureId::TekstZwieksz, PaintTool(textLeftTop, {23, 90}, ToolGlyph::LargerFont)},
        {SkinPictureId::TekstLewaDol, PaintBottom(BottomPart::Left, kLeft, 29, false)},
        {SkinPictureId::TekstDol, PaintBottom(BottomPart::Middle, kEdgeLong, 29, false)},
        {SkinPictureId::TekstPrawaDol, PaintBottom(BottomPart::Right, kRight, 29, true)},
        {SkinPictureId::TekstPasekLewy, PaintStripLeft(QStringLiteral("Tekst"))},
        {SkinPictureId::GrafikaLewaGora, pictureLeftTop},
        {SkinPictureId::GrafikaPowieksz, PaintTool(pictureLeftTop, {24, 40}, ToolGlyph::Enlarge)},
        {SkinPictureId::GrafikaZmniejsz, PaintTool(pictureLeftTop, {24, 40}, ToolGlyph::Reduce)},
        {SkinPictureId::GrafikaLewaDol, PaintBottom(BottomPart::Left, kLeft, 25, false)},
        {SkinPictureId::GrafikaDol, PaintBottom(BottomPart::Middle, kEdgeLong, 25, false)},
        {SkinPictureId::GrafikaPrawaDol, PaintBottom(BottomPart::Right, kRight, 25, false)},
        {SkinPictureId::GrafikaPasekLewy, PaintStripLeft(QStringLiteral("Obraz"))},
    };
}

}  // namespace oplix::artwork
