#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

constexpr int kPanelWidth = 790;
constexpr int kPanelHeight = 581;
constexpr QRect kMenuPanel(9, 130, 250, 135);

// The panel's gradient and title bar: what lies under everything else on the main panel.
QImage PaintMainBase() {
    QImage image = NewPicture(kPanelWidth, kPanelHeight, palette::kPanelTop);
    QPainter painter;
    StartPainter(painter, image);
    FillGradient(painter, QRectF(0, 0, kPanelWidth, kPanelHeight), palette::kPanelTop,
                 palette::kPanelBottom);
    FillGradient(painter, QRectF(0, 0, kPanelWidth, 30), palette::kNavyLight, palette::kNavy);
    painter.fillRect(QRectF(0, 30, kPanelWidth, 1), palette::kNavy.darker(130));
    return image;
}

enum class WindowMark { Enlarge, Minimise, Close };

void DrawWindowMark(QPainter& painter, const QRectF& area, WindowMark mark) {
    DrawCard(painter, area.adjusted(-2, -2, 2, 2), 3, palette::kNavyLight.lighter(120),
             palette::kNavy.darker(120));
    const QPointF centre = area.center();
    painter.save();
    painter.setPen(QPen(palette::kOnNavy, 1.4));
    switch (mark) {
        case WindowMark::Enlarge:
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(centre.x() - 4, centre.y() - 3, 8, 6));
            break;
        case WindowMark::Minimise:
            painter.drawLine(QPointF(centre.x() - 4, centre.y() + 3),
                             QPointF(centre.x() + 4, centre.y() + 3));
            break;
        case WindowMark::Close:
            painter.restore();
            DrawCloseMark(painter, area.adjusted(0, -2, 0, 2), palette::kOnNavy);
            return;
    }
    painter.restore();
}

void DrawTitleBar(QPainter& painter) {
    DrawEmblem(painter, QPointF(19, 7), 17);
    DrawText(painter, QRectF(38, 6, 300, 17), QStringLiteral("Oplix Test"), SkinFont(13, true),
             palette::kOnNavy);
    DrawWindowMark(painter, QRectF(667, 9, 19, 11), WindowMark::Enlarge);
    DrawWindowMark(painter, QRectF(715, 8, 19, 11), WindowMark::Minimise);
    DrawWindowMark(painter, QRectF(744, 8, 19, 11), WindowMark::Close);
}

// The closed menu: the two entries that open the tests and the help menu.
void DrawClosedMenu(QPainter& painter) {
    DrawText(painter, QRectF(12, 50, 240, 28), QStringLiteral("Witaj!"), SkinFont(22, true),
             palette::kNavy);
    DrawText(painter, QRectF(12, 78, 240, 20), QStringLiteral("Zacznij od menu poniżej."),
             SkinFont(12), palette::kInkSoft);
    DrawText(painter, QRectF(12, 110, 140, 16), QStringLiteral("MENU"), SkinFont(11, true),
             palette::kInkSoft);
    DrawGradientCard(painter, QRectF(9, 130, 160, 55), 6, palette::kCard, palette::kFrame,
                     palette::kCardBorder);
    painter.fillRect(QRectF(14, 157, 150, 1), palette::kSoftLine);
    const QFont font = SkinFont(12, true);
    DrawText(painter, QRectF(17, 137, 129, 15), QStringLiteral("Testy"), font, palette::kInk);
    DrawText(painter, QRectF(17, 161, 129, 17), QStringLiteral("Pomoc"), font, palette::kInk);
    const QFont arrow = SkinFont(14, true);
    DrawText(painter, QRectF(148, 136, 14, 17), QStringLiteral("›"), arrow, palette::kInkSoft);
    DrawText(painter, QRectF(148, 161, 14, 17), QStringLiteral("›"), arrow, palette::kInkSoft);
}

void DrawStepsCard(QPainter& painter) {
    DrawCard(painter, QRectF(9, 300, 250, 200), 10, palette::kCard, palette::kCardBorder);
    DrawText(painter, QRectF(24, 312, 220, 20), QStringLiteral("Jak to działa?"),
             SkinFont(14, true), palette::kNavy);
    const std::array<QString, 3> steps = {
        QStringLiteral("Wybierz w menu „Testy”, jak chcesz rozwiązać test."),
        QStringLiteral("Odpowiadaj, klikając litery przy odpowiedziach."),
        QStringLiteral("Oceń test i przeczytaj podsumowanie."),
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const qreal top = 346 + 50 * static_cast<qreal>(i);
        const QRectF circle(24, top, 26, 26);
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette::kBlue);
        painter.drawEllipse(circle);
        painter.restore();
        DrawText(painter, circle, QString::number(i + 1), SkinFont(13, true), palette::kOnNavy,
                 Qt::AlignCenter);
        DrawText(painter, QRectF(60, top - 6, 188, 40), steps[i], SkinFont(12), palette::kInk,
                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    }
}

void DrawWelcomeCard(QPainter& painter) {
    DrawCard(painter, QRectF(284, 64, 476, 238), 10, palette::kCard, palette::kCardBorder);
    DrawEmblem(painter, QPointF(306, 84), 64);
    DrawText(painter, QRectF(372, 82, 370, 38), QStringLiteral("Oplix Test"), SkinFont(30, true),
             palette::kNavy);
    DrawText(painter, QRectF(373, 122, 370, 22), QStringLiteral("Rozwiązywanie testów wyboru"),
             SkinFont(15), palette::kInkSoft);
    painter.fillRect(QRectF(304, 164, 436, 1), palette::kSoftLine);
    DrawText(painter, QRectF(304, 174, 436, 54),
             QStringLiteral("Otwórz menu „Testy” po lewej stronie i wybierz, jak chcesz "
                            "rozwiązać test: z list przygotowanych przez nauczyciela albo "
                            "z pliku testu."),
             SkinFont(13), palette::kInk, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    const QString letters = QStringLiteral("ABCD");
    for (int state = 0; state < 4; ++state) {
        DrawLetterTile(painter, QRectF(304 + 32 * state, 244, 30, 30), letters.at(state), state);
    }
    DrawText(painter, QRectF(440, 240, 300, 38),
             QStringLiteral("Po ocenie kolory liter pokażą, które odpowiedzi były dobre."),
             SkinFont(12), palette::kInkSoft, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
}

// The description of the menu entry under the mouse is written by the program at 296, 344.
void DrawDescriptionCard(QPainter& painter) {
    DrawCard(painter, QRectF(284, 318, 476, 182), 10, palette::kCard, palette::kCardBorder);
    DrawText(painter, QRectF(296, 322, 300, 18), QStringLiteral("Opis wybranej opcji"),
             SkinFont(11, true), palette::kInkSoft);
    painter.fillRect(QRectF(296, 340, 452, 1), palette::kSoftLine);
}

void DrawFooter(QPainter& painter) {
    painter.fillRect(QRectF(9, 540, 772, 1), palette::kCardBorder);
    const QFont font = SkinFont(11);
    DrawText(painter, QRectF(12, 548, 300, 20), QStringLiteral("F1 – pomoc do programu"), font,
             palette::kInkSoft);
    DrawText(painter, QRectF(478, 548, 300, 20), QStringLiteral("Oplix Test · wersja 0.1"), font,
             palette::kInkSoft, Qt::AlignRight | Qt::AlignVCenter);
}

void DrawBorder(QPainter& painter, int width, int height) {
    painter.save();
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    painter.restore();
}

QImage PaintMainPanel(const QImage& base) {
    QImage image = base;
    QPainter painter;
    StartPainter(painter, image);
    DrawTitleBar(painter);
    DrawClosedMenu(painter);
    DrawStepsCard(painter);
    DrawWelcomeCard(painter);
    DrawDescriptionCard(painter);
    DrawFooter(painter);
    DrawBorder(painter, kPanelWidth, kPanelHeight);
    return image;
}

// One band of an open menu panel: the open menu's heading (navy), its entries (blue, captions
// written by the program) or the entry that switches to the other menu (light).
enum class Band { Heading, Entries, Switch };

void FillBand(QPainter& painter, qreal top, qreal bottom, Band band) {
    const QRectF area(0, top, kMenuPanel.width(), bottom - top);
    switch (band) {
        case Band::Heading:
            FillGradient(painter, area, palette::kNavyLight, palette::kNavy);
            break;
        case Band::Entries:
            FillGradient(painter, area, palette::kBlueLight.lighter(104), palette::kBlueLight);
            break;
        case Band::Switch:
            FillGradient(painter, area, palette::kCard, palette::kFrame);
            break;
    }
}

void DrawBandCaption(QPainter& painter, const QRectF& area, const QString& caption, Band band) {
    const QColor ink = band == Band::Heading ? palette::kOnNavy : palette::kInk;
    DrawText(painter, area, caption, SkinFont(12, true), ink);
    const QString mark = band == Band::Heading ? QStringLiteral("▾") : QStringLiteral("›");
    DrawText(painter, QRectF(224, area.top(), 16, area.height()), mark, SkinFont(14, true),
             band == Band::Heading ? palette::kOnNavy : palette::kInkSoft, Qt::AlignCenter);
}

struct BandSpan {
    qreal top;
    qreal bottom;
    Band band;
};

QImage PaintMenuPanel(const QImage& base, const std::array<BandSpan, 3>& bands) {
    QImage image =
        CropPicture(base, kMenuPanel.x(), kMenuPanel.y(), kMenuPanel.width(), kMenuPanel.height());
    QPainter painter;
    StartPainter(painter, image);
    const QRectF outline(0.5, 0.5, kMenuPanel.width() - 1, kMenuPanel.height() - 1);
    QPainterPath shape;
    shape.addRoundedRect(outline, 8, 8);
    painter.setClipPath(shape);
    for (const BandSpan& span : bands) {
        FillBand(painter, span.top, span.bottom, span.band);
    }
    painter.setClipping(false);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outline, 8, 8);
    return image;
}

// The tests menu: its heading where "Testy" stands on the closed menu, the four ways of
// starting a test (captions at 15, 36 ... 15, 82 written by the program), "Pomoc" at 8, 113.
QImage PaintTestsMenu(const QImage& base) {
    QImage image = PaintMenuPanel(
        base, {{{0, 29, Band::Heading}, {29, 104, Band::Entries}, {104, 135, Band::Switch}}});
    QPainter painter;
    StartPainter(painter, image);
    DrawBandCaption(painter, QRectF(8, 7, 129, 15), QStringLiteral("Testy"), Band::Heading);
    DrawBandCaption(painter, QRectF(8, 113, 129, 14), QStringLiteral("Pomoc"), Band::Switch);
    return image;
}

// The help menu: "Testy" at 8, 9 switches back, the heading stands where "Pomoc" stands on the
// closed menu, the entries at 15, 65 ... 15, 97 are written by the program.
QImage PaintHelpMenu(const QImage& base) {
    QImage image = PaintMenuPanel(
        base, {{{0, 27, Band::Switch}, {27, 55, Band::Heading}, {55, 135, Band::Entries}}});
    QPainter painter;
    StartPainter(painter, image);
    DrawBandCaption(painter, QRectF(8, 9, 129, 14), QStringLiteral("Testy"), Band::Switch);
    DrawBandCaption(painter, QRectF(8, 31, 129, 17), QStringLiteral("Pomoc"), Band::Heading);
    return image;
}

// The backdrop around the main panel in the full-screen mode: a calm navy light with a few
// large soft circles.
QImage PaintBackdrop() {
    constexpr int kWidth = 1920;
    constexpr int kHeight = 1200;
    QImage image = NewPicture(kWidth, kHeight, palette::kNavy);
    QPainter painter;
    StartPainter(painter, image);
    QRadialGradient light(QPointF(kWidth / 2.0, kHeight * 0.42), kWidth * 0.62);
    light.setColorAt(0, QColor(96, 132, 174));
    light.setColorAt(0.55, QColor(64, 96, 136));
    light.setColorAt(1, QColor(34, 56, 86));
    painter.fillRect(image.rect(), light);
    struct Circle {
        qreal x, y, radius;
    };
    const std::array<Circle, 5> circles = {
        {{260, 240, 330}, {1700, 180, 260}, {1580, 980, 420}, {380, 1040, 240}, {980, 1180, 180}}};
    painter.setPen(Qt::NoPen);
    for (const Circle& circle : circles) {
        painter.setBrush(QColor(255, 255, 255, 14));
        painter.drawEllipse(QPointF(circle.x, circle.y), circle.radius, circle.radius);
        painter.setBrush(QColor(255, 255, 255, 10));
        painter.drawEllipse(QPointF(circle.x, circle.y), circle.radius * 0.62,
                            circle.radius * 0.62);
    }
    return image;
}

}  // namespace

SkinPictures PaintMainWindow() {
    const QImage base = PaintMainBase();
    return {
        {SkinPictureId::OknoGlowne, PaintMainPanel(base)},
        {SkinPictureId::MenuTesty, PaintTestsMenu(base)},
        {SkinPictureId::MenuPomoc, PaintHelpMenu(base)},
        {SkinPictureId::TloBig, PaintBackdrop()},
    };
}

}  // namespace oplix::artwork
