#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

constexpr int kPanelWidth = 790;
constexpr int kPanelHeight = 581;
constexpr int kLetterColumns = 5;
constexpr int kStates = 4;
constexpr int kRowPitch = 26;  // the question list's rows
constexpr int kStripHeight = 1500;
constexpr int kNumbers = kStripHeight / kRowPitch;  // 57 whole cells
const QString kSlotLetters = QStringLiteral("ABCDE");

void DrawHeader(QPainter& painter) {
    FillGradient(painter, QRectF(0, 0, kPanelWidth, 60), palette::kNavyLight, palette::kNavy);
    DrawEmblem(painter, QPointF(19, 6), 17);
    DrawText(painter, QRectF(38, 5, 300, 18), QStringLiteral("Oplix Test"), SkinFont(13, true),
             palette::kOnNavy);
    // The program writes the test's title in bold dark grey at 128, 32 (609 x 16).
    DrawCard(painter, QRectF(118, 28, 629, 24), 12, palette::kPanelTop, palette::kNavy.darker(130));
}

// The program writes the status line in white at 40, 554.
void DrawFooter(QPainter& painter) {
    FillGradient(painter, QRectF(0, 551, kPanelWidth, kPanelHeight - 551), palette::kNavyLight,
                 palette::kNavy);
}

void DrawInfoCard(QPainter& painter) {
    DrawCard(painter, QRectF(32, 72, 178, 144), 10, palette::kCard, palette::kCardBorder);
    DrawEmblem(painter, QPointF(46, 86), 40);
    DrawText(painter, QRectF(86, 86, 118, 40), QStringLiteral("Rozwiązujesz\ntest"),
             SkinFont(13, true), palette::kNavy, Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(painter, QRectF(44, 136, 158, 72),
             QStringLiteral("Pytanie wybierzesz, klikając jego wiersz na liście poniżej."),
             SkinFont(11), palette::kInkSoft, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

// The question list (40, 258; 140 wide, at most 258 high) and its scroll bar (185, 258).
void DrawListCard(QPainter& painter) {
    DrawCard(painter, QRectF(32, 226, 178, 298), 10, palette::kCard, palette::kCardBorder);
    DrawText(painter, QRectF(42, 231, 150, 20), QStringLiteral("Lista pytań"), SkinFont(12, true),
             palette::kNavy);
    painter.fillRect(QRectF(40, 253, 162, 1), palette::kSoftLine);
}

// The time gauge (12, 432; 12 x 113) stands in a narrow well with a clock above it.
void DrawGaugeWell(QPainter& painter) {
    DrawCard(painter, QRectF(6, 426, 24, 125), 6, palette::kFrame, palette::kCardBorder);
    const QRectF clock(10, 404, 16, 16);
    painter.save();
    painter.setPen(QPen(palette::kNavyLight, 1.5));
    painter.setBrush(palette::kCard);
    painter.drawEllipse(clock.adjusted(0.75, 0.75, -0.75, -0.75));
    painter.setPen(QPen(palette::kNavy, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(clock.center(), clock.center() + QPointF(0, -5));
    painter.drawLine(clock.center(), clock.center() + QPointF(3.5, 0));
    painter.restore();
}

// The question text box (273, 171; 441 x 63), the answers (buttons at 280, labels at 328, from
// y = 313 every 40 pixels) and the buttons of the bottom row all lie on one white sheet.
void DrawSheet(QPainter& painter) {
    DrawText(painter, QRectF(256, 72, 500, 52),
             QStringLiteral("Przeczytaj pytanie i wybierz odpowiedź, klikając jej literę. Gdy "
                            "odpowiesz na wszystkie pytania, pojawi się przycisk „Oceń test”."),
             SkinFont(12), palette::kInkSoft, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    DrawCard(painter, QRectF(248, 132, 514, 416), 10, palette::kCard, palette::kCardBorder);
    DrawText(painter, QRectF(273, 144, 200, 20), QStringLiteral("Pytanie"), SkinFont(13, true),
             palette::kNavy);
    DrawCard(painter, QRectF(268, 167, 451, 71), 4, palette::kCard, palette::kSoftLine.darker(108));
    painter.fillRect(QRectF(264, 249, 482, 1), palette::kSoftLine);
    DrawText(painter, QRectF(273, 252, 200, 19), QStringLiteral("Odpowiedzi"), SkinFont(12, true),
             palette::kNavy);
}

QImage PaintTestPanelPicture() {
    QImage image = NewPicture(kPanelWidth, kPanelHeight, palette::kPanelTop);
    QPainter painter;
    StartPainter(painter, image);
    FillGradient(painter, QRectF(0, 0, kPanelWidth, kPanelHeight), palette::kPanelTop,
                 palette::kPanelBottom);
    DrawHeader(painter);
    DrawInfoCard(painter);
    DrawListCard(painter);
    DrawGaugeWell(painter);
    DrawSheet(painter);
    DrawButton(painter, QRectF(640, 513, 91, 27), QStringLiteral("Zrezygnuj"), -1,
               ButtonLook::Normal, 12);
    DrawFooter(painter);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, kPanelWidth - 1, kPanelHeight - 1));
    return image;
}

void DrawBulb(QPainter& painter, const QPointF& centre, qreal size) {
    painter.save();
    painter.setPen(QPen(QColor(150, 112, 0), 1.2));
    painter.setBrush(QColor(255, 214, 64));
    painter.drawEllipse(centre + QPointF(0, -size * 0.12), size * 0.34, size * 0.34);
    painter.setBrush(palette::kInkSoft);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(
        QRectF(centre.x() - size * 0.16, centre.y() + size * 0.22, size * 0.32, size * 0.22), 1.5,
        1.5);
    painter.restore();
}

QImage PaintHintButton(const QImage& panel) {
    QImage image = CropPicture(panel, 256, 509, 112, 36);
    QPainter painter;
    StartPainter(painter, image);
    DrawButton(painter, QRectF(0, 0, 112, 36), QString(), -1, ButtonLook::Normal);
    DrawBulb(painter, QPointF(17, 18), 20);
    DrawText(painter, QRectF(30, 0, 80, 36), QStringLiteral("Podpowiedź"), SkinFont(12),
             palette::kInk, Qt::AlignCenter);
    return image;
}

QImage PaintGradeButton(const QImage& panel) {
    QImage image = CropPicture(panel, 515, 505, 102, 36);
    QPainter painter;
    StartPainter(painter, image);
    DrawButton(painter, QRectF(0, 0, 102, 36), QStringLiteral("Oceń test"), -1,
               ButtonLook::Highlighted, 13);
    return image;
}

// Lies over the hint button and the grade button while a hint is read; the program writes
// the hint at 16, 16 (329 x 30), the close mark is at 357, 13.
QImage PaintHintPanel(const QImage& panel) {
    QImage image = CropPicture(panel, 372, 489, 386, 60);
    QPainter painter;
    StartPainter(painter, image);
    DrawCard(painter, QRectF(0, 0, 386, 60), 8, palette::kNote, palette::kNoteBorder);
    DrawCloseMark(painter, QRectF(357, 13, 17, 16), palette::kInkSoft);
    DrawBulb(painter, QPointF(365, 42), 14);
    return image;
}

// Shown above the answers of tests with several answers per question.
QImage PaintSeveralAnswersStrip(const QImage& panel) {
    QImage image = CropPicture(panel, 263, 273, 319, 15);
    QPainter painter;
    StartPainter(painter, image);
    const QString note = QStringLiteral("Możesz zaznaczyć kilka odpowiedzi.");
    const QFont font = SkinFont(11, true);
    const qreal width = std::min(319.0, 34 + QFontMetricsF(font).horizontalAdvance(note));
    DrawCard(painter, QRectF(0, 0, width, 15), 7, QColor(228, 238, 250), QColor(176, 198, 224));
    for (int box = 0; box < 2; ++box) {
        const QRectF square(7 + 8 * box, 4 + box, 7, 7);
        DrawCard(painter, square, 1.5, box == 0 ? states::kGreen : palette::kCard,
                 box == 0 ? states::kGreen.darker(120) : palette::kInkSoft);
    }
    DrawText(painter, QRectF(26, 0, width - 26, 15), note, font, palette::kBlue);
    return image;
}

QImage PaintLetterStrip(int cell) {
    QImage image = NewPicture(cell * kLetterColumns, cell * kStates, palette::kCard);
    QPainter painter;
    StartPainter(painter, image);
    for (int state = 0; state < kStates; ++state) {
        for (int column = 0; column < kLetterColumns; ++column) {
            DrawLetterTile(painter, QRectF(column * cell, state * cell, cell, cell),
                           kSlotLetters.at(column), state);
        }
    }
    return image;
}

// Number q stands in the cell from y = 26 (q - 1), 25 wide and 26 high; its top line is the
// line that separates the list's rows.
QImage PaintNumberStrip(bool highlighted) {
    QImage image = NewPicture(25, kStripHeight, palette::kCard);
    QPainter painter;
    StartPainter(painter, image);
    for (int q = 1; q <= kNumbers; ++q) {
        const QRectF cell(0, kRowPitch * (q - 1), 25, kRowPitch);
        painter.fillRect(QRectF(cell.left(), cell.top(), cell.width(), 1), palette::kSoftLine);
        QColor ink = palette::kInkSoft;
        if (highlighted) {
            DrawCard(painter, cell.adjusted(0, 2, 0, -1), 5, palette::kBlue, palette::kNavyLight);
            ink = palette::kOnNavy;
        }
        DrawText(painter, cell.adjusted(0, 1, 0, 0), QString::number(q), SkinFont(12, true), ink,
                 Qt::AlignCenter);
    }
    return image;
}

// White with a line between rows and one after the number column.
QImage PaintListBackground() {
    QImage image = NewPicture(175, kStripHeight, palette::kCard);
    QPainter painter(&image);
    for (int y = 0; y < kStripHeight; y += kRowPitch) {
        painter.fillRect(QRect(0, y, 175, 1), palette::kSoftLine);
    }
    painter.fillRect(QRect(30, 0, 1, kStripHeight), palette::kSoftLine);
    return image;
}

}  // namespace

SkinPictures PaintTestPanel() {
    const QImage panel = PaintTestPanelPicture();
    return {
        {SkinPictureId::OknoTestu, panel},
        {SkinPictureId::OknoPodpowiedzi, PaintHintPanel(panel)},
        {SkinPictureId::Podpowiedz, PaintHintButton(panel)},
        {SkinPictureId::Ocen, PaintGradeButton(panel)},
        {SkinPictureId::PasekWieleOdp, PaintSeveralAnswersStrip(panel)},
        {SkinPictureId::LiteryMale, PaintLetterStrip(25)},
        {SkinPictureId::LiteryDuze, PaintLetterStrip(35)},
        {SkinPictureId::Numery, PaintNumberStrip(false)},
        {SkinPictureId::NumeryBiale, PaintNumberStrip(true)},
        {SkinPictureId::TloListy, PaintListBackground()},
    };
}

}  // namespace oplix::artwork
