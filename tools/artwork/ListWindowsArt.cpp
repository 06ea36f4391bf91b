#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

// Everything the three windows have in common: the title bar, the accept and cancel buttons
// under the program's click areas and the frame round the choice labels.
struct ListWindowLayout {
    int width;
    int height;
    QString title;
    QRectF acceptButton;
    QRectF cancelButton;
    QRectF choiceLabels;  // the program writes "Wybór osoby: ..." and "Wybór testu: ..." here
};

void PaintCommonParts(const ListWindowLayout& layout, QPainter& painter, QImage& image) {
    image = NewPicture(layout.width, layout.height, palette::kPanelTop);
    StartPainter(painter, image);
    FillGradient(painter, QRectF(0, 0, layout.width, layout.height), palette::kPanelTop,
                 palette::kPanelBottom);
    FillGradient(painter, QRectF(0, 0, layout.width, 24), palette::kNavyLight, palette::kNavy);
    DrawText(painter, QRectF(12, 0, layout.width - 24, 24), layout.title, SkinFont(13, true),
             palette::kOnNavy);
    DrawButton(painter, layout.acceptButton, QStringLiteral("Wprowadź"), -1,
               ButtonLook::Highlighted, 12);
    DrawButton(painter, layout.cancelButton, QStringLiteral("Anuluj"), -1, ButtonLook::Normal, 12);
    DrawCard(painter, layout.choiceLabels, 4, palette::kPanelTop, palette::kCardBorder);
}

void DrawHeading(QPainter& painter, const QRectF& area, const QString& heading) {
    DrawText(painter, area, heading, SkinFont(12, true), palette::kNavy);
}

void DrawWhiteField(QPainter& painter, const QRectF& area) {
    DrawCard(painter, area, 6, palette::kCard, palette::kCardBorder);
}

void DrawNote(QPainter& painter, const QRectF& area, const QString& note) {
    DrawText(painter, area, note, SkinFont(10), palette::kInkSoft,
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
}

const QString kTreeNote = QStringLiteral("Dwa kliknięcia otwierają i zamykają grupę.");

// Pupils: class chooser 44, 54; list 35, 86 (220 x 337); bar 266, 88. Tests: tree 301, 47
// (245 x 305, its bar inside at the right edge).
QImage PaintBothLists() {
    QImage image;
    QPainter painter;
    PaintCommonParts({585,
                      486,
                      QStringLiteral("Wybór ucznia i testu"),
                      {456, 383, 89, 24},
                      {456, 419, 89, 24},
                      {26, 429, 270, 34}},
                     painter, image);
    DrawHeading(painter, QRectF(44, 26, 200, 19), QStringLiteral("Klasa i uczeń"));
    DrawWhiteField(painter, QRectF(28, 80, 262, 348));
    DrawHeading(painter, QRectF(301, 26, 240, 19), QStringLiteral("Test"));
    DrawWhiteField(painter, QRectF(294, 43, 259, 316));
    DrawNote(painter, QRectF(301, 362, 250, 16), kTreeNote);
    DrawNote(painter, QRectF(301, 383, 145, 60),
             QStringLiteral("Wybierz siebie z listy klasy i test z drzewa, potem kliknij "
                            "„Wprowadź”."));
    return image;
}

// Tree 33, 47 (245 x 305); accept 181, 384; cancel 181, 420; the test label at 29, 451.
QImage PaintTestsList() {
    QImage image;
    QPainter painter;
    PaintCommonParts({310,
                      487,
                      QStringLiteral("Wybór testu"),
                      {181, 384, 89, 24},
                      {181, 420, 89, 24},
                      {23, 447, 262, 21}},
                     painter, image);
    DrawHeading(painter, QRectF(33, 26, 240, 19), QStringLiteral("Lista testów"));
    DrawWhiteField(painter, QRectF(26, 43, 259, 316));
    DrawNote(painter, QRectF(33, 362, 250, 16), kTreeNote);
    DrawNote(painter, QRectF(33, 384, 140, 60),
             QStringLiteral("Wybierz test z listy i kliknij „Wprowadź”."));
    return image;
}

// Class chooser 44, 54; list 35, 86 (220 x 267); bar 260, 80 (16 x 273); accept 181, 385;
// cancel 181, 421; the pupil label at 31, 451.
QImage PaintStudentsList() {
    QImage image;
    QPainter painter;
    PaintCommonParts({310,
                      487,
                      QStringLiteral("Wybór ucznia"),
                      {181, 385, 89, 24},
                      {181, 421, 89, 24},
                      {25, 447, 262, 21}},
                     painter, image);
    DrawHeading(painter, QRectF(44, 28, 200, 19), QStringLiteral("Klasa"));
    DrawWhiteField(painter, QRectF(28, 76, 256, 284));
    DrawNote(painter, QRectF(33, 385, 140, 60),
             QStringLiteral("Wybierz swoje nazwisko i kliknij „Wprowadź”."));
    return image;
}

void DrawOuterBorder(QImage& image) {
    QPainter painter(&image);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.drawRect(QRect(0, 0, image.width() - 1, image.height() - 1));
}

}  // namespace

SkinPictures PaintListWindows() {
    SkinPictures pictures = {
        {SkinPictureId::TloObieListy, PaintBothLists()},
        {SkinPictureId::TloListyTestow, PaintTestsList()},
        {SkinPictureId::TloListyUczniow, PaintStudentsList()},
    };
    for (SkinPicture& picture : pictures) {
        DrawOuterBorder(picture.image);
    }
    return pictures;
}

}  // namespace oplix::artwork
