#include "SkinPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <array>

#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

struct StateLook {
    QColor letter;
    QColor tile;
};

StateLook LookOfState(int state) {
    static const std::array<StateLook, 4> looks = {{
        {states::kPlain, states::kPlainTile},
        {states::kGreen, states::kGreenTile},
        {states::kYellow, states::kYellowTile},
        {states::kRed, states::kRedTile},
    }};
    return looks[static_cast<std::size_t>(std::clamp(state, 0, 3))];
}

// A 1-pixel line drawn on a rectangle's outline lies on whole pixels when moved by half one.
QRectF OnPixels(const QRectF& area) {
    return area.adjusted(0.5, 0.5, -0.5, -0.5);
}

// Yellow on white needs a darker outline to read; the other states are dark enough.
void DrawLetter(QPainter& painter, const QRectF& cell, QChar letter, const QColor& colour,
                bool outlined) {
    QFont font = SkinFont(static_cast<int>(cell.height() * 0.62), true);
    QPainterPath path;
    const QFontMetricsF metrics(font);
    const QString text(letter);
    const qreal x = cell.center().x() - metrics.horizontalAdvance(text) / 2.0;
    const qreal y = cell.center().y() + metrics.capHeight() / 2.0;
    path.addText(QPointF(x, y), font, text);
    painter.save();
    painter.setPen(outlined ? QPen(colour.darker(165), cell.height() / 28.0) : Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
    painter.restore();
}

}  // namespace

QImage NewPicture(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage CropPicture(const QImage& source, int left, int top, int width, int height) {
    return source.copy(left, top, width, height);
}

void StartPainter(QPainter& painter, QImage& image) {
    painter.begin(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
}

void FillGradient(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(area, gradient);
}

void DrawCard(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
              const QColor& border) {
    painter.save();
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(OnPixels(area), radius, radius);
    painter.restore();
}

void DrawGradientCard(QPainter& painter, const QRectF& area, qreal radius, const QColor& top,
                      const QColor& bottom, const QColor& border) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.save();
    painter.setPen(QPen(border, 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(OnPixels(area), radius, radius);
    painter.restore();
}

void DrawText(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
              const QColor& colour, int flags) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, flags, text);
    painter.restore();
}

void DrawUnderlinedCaption(QPainter& painter, const QRectF& area, const QString& caption,
                           int underlined, const QFont& font, const QColor& colour) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(caption);
    const qreal left = std::round(area.center().x() - width / 2.0);
    const qreal baseline = std::round(area.center().y() + metrics.capHeight() / 2.0);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(left, baseline), caption);
    if (underlined >= 0 && underlined < caption.size()) {
        const qreal start = left + metrics.horizontalAdvance(caption.left(underlined));
        const qreal letterWidth = metrics.horizontalAdvance(caption.at(underlined));
        painter.fillRect(QRectF(start, baseline + 2, letterWidth, 1), colour);
    }
    painter.restore();
}

void DrawButton(QPainter& painter, const QRectF& area, const QString& caption, int underlined,
                ButtonLook look, int pixelSize) {
    const bool highlighted = look == ButtonLook::Highlighted;
    const QColor top = highlighted ? palette::kBlue.lighter(115) : QColor(252, 253, 255);
    const QColor bottom = highlighted ? palette::kNavyLight : QColor(225, 233, 243);
    const QColor border = highlighted ? palette::kNavy : QColor(150, 170, 195);
    DrawGradientCard(painter, area, 5, top, bottom, border);
    const QColor ink = highlighted ? palette::kOnNavy : palette::kInk;
    DrawUnderlinedCaption(painter, area, caption, underlined, SkinFont(pixelSize, highlighted),
                          ink);
}

void DrawCloseMark(QPainter& painter, const QRectF& area, const QColor& ink) {
    const qreal half = std::min(area.width(), area.height()) * 0.24;
    const QPointF centre = area.center();
    painter.save();
    painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
    painter.restore();
}

void DrawLetterTile(QPainter& painter, const QRectF& cell, QChar letter, int state) {
    const StateLook look = LookOfState(state);
    const qreal inset = cell.height() > 30 ? 1.0 : 2.0;
    const QRectF tile = cell.adjusted(inset, inset, -inset, -inset);
    const QColor border = state == 0 ? QColor(170, 185, 205) : look.letter.lighter(130);
    DrawCard(painter, tile, cell.height() / 5.0, look.tile, border);
    DrawLetter(painter, tile, letter, look.letter, state == 2);
}

void DrawEmblem(QPainter& painter, const QPointF& topLeft, qreal size) {
    const qreal width = size * 0.78;
    const QRectF sheet(topLeft, QSizeF(width, size));
    DrawCard(painter, sheet, size / 10.0, palette::kCard, palette::kNavyLight);
    const qreal box = size / 7.0;
    const std::array<QColor, 3> marks = {states::kGreen, states::kPlain, states::kGreen};
    for (std::size_t row = 0; row < marks.size(); ++row) {
        const qreal y = topLeft.y() + size * (0.2 + 0.25 * static_cast<qreal>(row));
        const QRectF square(topLeft.x() + width * 0.16, y, box, box);
        DrawCard(painter, square, box / 4, palette::kCard, palette::kInkSoft);
        painter.fillRect(
            QRectF(square.right() + box * 0.6, y + box * 0.35, width * 0.42, box * 0.3),
            palette::kSoftLine.darker(115));
        if (marks[row] == states::kGreen) {
            painter.save();
            painter.setPen(QPen(states::kGreen, std::max(1.5, size / 22.0), Qt::SolidLine,
                                Qt::RoundCap, Qt::RoundJoin));
            const QPointF a(square.left() + box * 0.15, square.top() + box * 0.5);
            const QPointF b(square.left() + box * 0.45, square.bottom() - box * 0.1);
            const QPointF c(square.right() + box * 0.25, square.top() - box * 0.3);
            painter.drawPolyline(std::array<QPointF, 3>{a, b, c}.data(), 3);
            painter.restore();
        }
    }
}

}  // namespace oplix::artwork
