#include "IconArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "SkinPainter.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

QImage NewIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Outlines grow with the icon so that the large sizes do not look hair-thin.
qreal OutlineWidth(int size) {
    return std::max(1, size / 64);
}

// The area moved inwards by half a pen, so that the pen's stroke lies inside it on whole pixels.
QRectF InsideStroke(const QRectF& area, qreal pen) {
    return area.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
}

qreal Round(qreal value) {
    return std::round(value);
}

// The program icon: the program's sign on a rounded navy tile, as in the main window's title.
QImage PaintProgramIcon(int size) {
    QImage image = NewIcon(size);
    QPainter painter;
    StartPainter(painter, image);
    const qreal margin = size < 32 ? 0 : Round(size / 32.0);
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
    gradient.setColorAt(0, palette::kBlue);
    gradient.setColorAt(1, palette::kNavy);
    const qreal pen = OutlineWidth(size);
    painter.setPen(QPen(palette::kNavy.darker(120), pen));
    painter.setBrush(gradient);
    const qreal radius = size * 0.2;
    painter.drawRoundedRect(InsideStroke(tile, pen), radius, radius);
    const qreal emblem = Round(size * 0.7);
    DrawEmblem(painter, QPointF(Round((size - emblem * 0.78) / 2), Round((size - emblem) / 2)),
               emblem);
    return image;
}

// A sheet of paper with its top right corner folded over; its content goes into `content`.
struct Sheet {
    QRectF content;
    qreal pen;
};

Sheet DrawSheet(QPainter& painter, int size) {
    const qreal pen = OutlineWidth(size);
    const qreal width = Round(size * 0.76);
    const QRectF paper(Round((size - width) / 2), Round(size * 0.04), width,
                       size - Round(size * 0.04) * 2);
    const QRectF outline = InsideStroke(paper, pen);
    const qreal fold = Round(size * 0.24);
    QPainterPath sheet;
    sheet.moveTo(outline.topLeft());
    sheet.lineTo(outline.right() - fold, outline.top());
    sheet.lineTo(outline.right(), outline.top() + fold);
    sheet.lineTo(outline.bottomRight());
    sheet.lineTo(outline.bottomLeft());
    sheet.closeSubpath();
    QPainterPath corner;
    corner.moveTo(outline.right() - fold, outline.top());
    corner.lineTo(outline.right() - fold, outline.top() + fold);
    corner.lineTo(outline.right(), outline.top() + fold);
    corner.closeSubpath();
    painter.save();
    painter.setPen(QPen(palette::kNavyLight, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(palette::kCard);
    painter.drawPath(sheet);
    painter.setBrush(palette::kPanelBottom);
    painter.drawPath(corner);
    painter.restore();
    const qreal margin = std::max(2.0, Round(size * 0.12));
    return {paper.adjusted(margin, fold + margin * 0.5, -margin, -margin), pen};
}

// A text line on the sheet: a soft bar of the given length.
void DrawTextLine(QPainter& painter, qreal left, qreal centreY, qreal length, qreal thickness) {
    painter.fillRect(QRectF(left, Round(centreY - thickness / 2), length, thickness),
                     palette::kSoftLine.darker(115));
}

void DrawTick(QPainter& painter, const QRectF& box, qreal pen) {
    painter.save();
    painter.setPen(QPen(states::kGreen, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const std::array<QPointF, 3> tick = {
        QPointF(box.left() + box.width() * 0.18, box.top() + box.height() * 0.5),
        QPointF(box.left() + box.width() * 0.42, box.bottom() - box.height() * 0.2),
        QPointF(box.right() - box.width() * 0.12, box.top() + box.height() * 0.16)};
    painter.drawPolyline(tick.data(), 3);
    painter.restore();
}

// Rows of `count` equal bands filling the content's height; returns the row's rectangle.
QRectF RowOf(const QRectF& content, int row, int count) {
    const qreal height = content.height() / count;
    return QRectF(content.left(), content.top() + height * row, content.width(), height);
}

// A test: answer boxes, the first and the last ticked, each followed by its text.
void DrawTestContent(QPainter& painter, const Sheet& sheet, int size) {
    const int rows = size < 32 ? 2 : 3;
    for (int row = 0; row < rows; ++row) {
        const QRectF band = RowOf(sheet.content, row, rows);
        const qreal box = Round(std::min(band.height() * 0.72, sheet.content.width() * 0.4));
        const QRectF square(sheet.content.left(), Round(band.center().y() - box / 2), box, box);
        painter.save();
        painter.setPen(QPen(palette::kInkSoft, sheet.pen));
        painter.setBrush(palette::kCard);
        painter.drawRoundedRect(InsideStroke(square, sheet.pen), box / 5, box / 5);
        painter.restore();
        if (row == 0 || row == rows - 1) {
            DrawTick(painter, square.adjusted(0, -box * 0.2, box * 0.15, 0),
                     std::max(1.2, box / 4.5));
        }
        const qreal gap = std::max(1.0, Round(box * 0.4));
        DrawTextLine(painter, square.right() + gap, band.center().y(),
                     sheet.content.right() - square.right() - gap, std::max(1.0, Round(box / 3)));
    }
}

// A tests list: a tree whose group holds indented test entries, joined by a guide line.
void DrawTestsListContent(QPainter& painter, const Sheet& sheet, int size) {
    const int rows = size < 32 ? 3 : 4;
    const qreal bullet = Round(std::max(2.0, sheet.content.height() / rows * 0.6));
    const qreal indent = Round(bullet * 1.4);
    const qreal thickness = std::max(1.0, Round(bullet / 3));
    const QRectF first = RowOf(sheet.content, 0, rows);
    const qreal guideX = sheet.content.left() + Round(bullet / 2 - thickness / 2);
    const qreal guideTop = Round(first.center().y());
    const qreal guideBottom = Round(RowOf(sheet.content, rows - 1, rows).center().y());
    painter.fillRect(QRectF(guideX, guideTop, thickness, guideBottom - guideTop),
                     palette::kCardBorder);
    for (int row = 0; row < rows; ++row) {
        const QRectF band = RowOf(sheet.content, row, rows);
        const qreal left = sheet.content.left() + (row == 0 ? 0 : indent);
        const QRectF square(left, Round(band.center().y() - bullet / 2), bullet, bullet);
        if (row > 0) {
            painter.fillRect(
                QRectF(guideX, Round(band.center().y() - thickness / 2), left - guideX, thickness),
                palette::kCardBorder);
        }
        painter.fillRect(square, row == 0 ? palette::kNavy : palette::kBlue);
        const qreal gap = std::max(1.0, Round(bullet * 0.5));
        DrawTextLine(painter, square.right() + gap, band.center().y(),
                     sheet.content.right() - square.right() - gap, thickness);
    }
}

// One pupil: a head above rounded shoulders, standing on `base`.
void DrawPerson(QPainter& painter, const QPointF& base, qreal height, const QColor& colour) {
    const qreal head = height * 0.42;
    const qreal shoulders = height * 0.8;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(base.x() - head / 2, base.y() - height, head, head));
    QPainterPath body;
    const QRectF torso(base.x() - shoulders / 2, base.y() - height * 0.5, shoulders, height);
    body.moveTo(torso.left(), base.y());
    body.arcTo(torso, 180, -180);
    body.closeSubpath();
    painter.drawPath(body);
    painter.restore();
}

// A students list: two pupils above the lines of the class list.
void DrawStudentsListContent(QPainter& painter, const Sheet& sheet, int size) {
    const QRectF& area = sheet.content;
    const qreal peopleHeight = size < 32 ? area.height() : area.height() * 0.62;
    const qreal base = area.top() + peopleHeight;
    DrawPerson(painter, QPointF(area.left() + area.width() * 0.68, base - peopleHeight * 0.04),
               peopleHeight * 0.86, palette::kBlueLight);
    DrawPerson(painter, QPointF(area.left() + area.width() * 0.36, base), peopleHeight,
               palette::kBlue);
    if (size < 32) {
        return;
    }
    const qreal thickness = std::max(1.0, Round(size / 40.0));
    const qreal spacing = (area.bottom() - base) / 2;
    for (int line = 0; line < 2; ++line) {
        DrawTextLine(painter, area.left(), base + spacing * (line + 0.6),
                     area.width() * (line == 0 ? 1.0 : 0.7), thickness);
    }
}

// A result: the graded mark, a green disc with a white tick, over the bar of the score.
void DrawResultContent(QPainter& painter, const Sheet& sheet, int size) {
    const QRectF& area = sheet.content;
    const qreal barHeight = std::max(2.0, Round(area.height() * 0.16));
    const qreal disc = std::min(area.width(), area.height() - barHeight * 2);
    const QRectF mark(Round(area.center().x() - disc / 2), area.top(), disc, disc);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(states::kGreen);
    painter.drawEllipse(mark);
    painter.setPen(QPen(palette::kOnNavy, std::max(1.2, disc / 7), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    const std::array<QPointF, 3> tick = {mark.center() + QPointF(-disc * 0.24, 0),
                                         mark.center() + QPointF(-disc * 0.06, disc * 0.2),
                                         mark.center() + QPointF(disc * 0.26, -disc * 0.18)};
    painter.drawPolyline(tick.data(), 3);
    painter.restore();
    const QRectF bar(area.left(), Round(area.bottom() - barHeight), area.width(), barHeight);
    painter.fillRect(bar, palette::kSoftLine);
    painter.fillRect(QRectF(bar.left(), bar.top(), Round(bar.width() * 0.8), bar.height()),
                     size < 32 ? palette::kBlue : palette::kBlueLight.darker(110));
}

using ContentPainter = std::function<void(QPainter&, const Sheet&, int)>;

QImage PaintDocumentIcon(int size, const ContentPainter& content) {
    QImage image = NewIcon(size);
    QPainter painter;
    StartPainter(painter, image);
    const Sheet sheet = DrawSheet(painter, size);
    content(painter, sheet, size);
    return image;
}

QString IconPath(int size, const char* context, const QString& name) {
    return QStringLiteral("hicolor/%1x%1/%2/%3.png").arg(size).arg(QLatin1String(context), name);
}

}  // namespace

std::vector<IconPicture> PaintIcons() {
    const struct {
        const char* type;
        ContentPainter content;
    } documents[] = {
        {"application-x-oplix-test", DrawTestContent},
        {"application-x-oplix-tests-list", DrawTestsListContent},
        {"application-x-oplix-students-list", DrawStudentsListContent},
        {"application-x-oplix-result", DrawResultContent},
    };
    std::vector<IconPicture> icons;
    for (const int size : kIconSizes) {
        icons.push_back(
            {IconPath(size, "apps", QStringLiteral("oplix-test")), PaintProgramIcon(size)});
        for (const auto& document : documents) {
            icons.push_back({IconPath(size, "mimetypes", QLatin1String(document.type)),
                             PaintDocumentIcon(size, document.content)});
        }
    }
    return icons;
}

}  // namespace oplix::artwork
