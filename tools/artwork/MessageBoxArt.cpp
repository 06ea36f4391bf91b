#include <QPainterPath>
#include <array>

#include "SkinArt.h"
#include "SkinStyle.h"

namespace oplix::artwork {
namespace {

constexpr int kWidth = 350;
constexpr int kHeight = 150;
constexpr QRect kIcon(12, 4, 42, 43);
constexpr QRect kButton(63, 116, 88, 26);

QImage PaintBackground() {
    QImage image = NewPicture(kWidth, kHeight, palette::kPanelTop);
    QPainter painter;
    StartPainter(painter, image);
    FillGradient(painter, QRectF(0, 0, kWidth, kHeight), palette::kPanelTop, palette::kPanelBottom);
    FillGradient(painter, QRectF(0, 0, kWidth, 32), palette::kNavyLight, palette::kNavy);
    DrawText(painter, QRectF(62, 5, 260, 23), QStringLiteral("Oplix Test"), SkinFont(12, true),
             palette::kOnNavy);
    DrawCloseMark(painter, QRectF(323, 8, 17, 17), palette::kOnNavy);
    // The program writes its message in grey at 17, 51 (313 x 53).
    DrawCard(painter, QRectF(10, 45, 330, 64), 6, palette::kCard, palette::kCardBorder);
    FillGradient(painter, QRectF(1, 111, kWidth - 2, kHeight - 112), palette::kFrame,
                 palette::kPanelBottom);
    painter.fillRect(QRectF(1, 111, kWidth - 2, 1), palette::kCardBorder);
    painter.setPen(QPen(palette::kNavy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    return image;
}

enum class IconKind { Information, Question, Warning };

QImage PaintIcon(const QImage& background, IconKind kind) {
    QImage image = CropPicture(background, kIcon.x(), kIcon.y(), kIcon.width(), kIcon.height());
    QPainter painter;
    StartPainter(painter, image);
    const QPointF centre(21, 21.5);
    painter.setPen(QPen(palette::kOnNavy, 2));
    QString sign;
    QColor ink = palette::kOnNavy;
    switch (kind) {
        case IconKind::Information:
            painter.setBrush(palette::kBlue);
            painter.drawEllipse(centre, 17, 17);
            sign = QStringLiteral("i");
            break;
        case IconKind::Question:
            painter.setBrush(QColor(36, 138, 118));
            painter.drawEllipse(centre, 17, 17);
            sign = QStringLiteral("?");
            break;
        case IconKind::Warning: {
            QPainterPath triangle;
            triangle.moveTo(21, 3);
            triangle.lineTo(39, 37);
            triangle.lineTo(3, 37);
            triangle.closeSubpath();
            painter.setPen(QPen(palette::kOnNavy, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(QColor(242, 176, 32));
            painter.drawPath(triangle);
            sign = QStringLiteral("!");
            ink = palette::kInk;
            break;
        }
    }
    const QRectF signArea =
        kind == IconKind::Warning ? QRectF(0, 12, 42, 26) : QRectF(0, 4, 42, 35);
    DrawText(painter, signArea, sign, SkinFont(kind == IconKind::Warning ? 20 : 24, true), ink,
             Qt::AlignCenter);
    return image;
}

QImage PaintAnswerButton(const QImage& background, const QString& caption, ButtonLook look) {
    QImage image =
        CropPicture(background, kButton.x(), kButton.y(), kButton.width(), kButton.height());
    QPainter painter;
    StartPainter(painter, image);
    DrawButton(painter, QRectF(0, 0, kButton.width(), kButton.height()), caption, 0, look, 12);
    return image;
}

struct ButtonNames {
    SkinPictureId plain;
    SkinPictureId highlighted;
    const char* caption;  // the answering letter is the first one
};

}  // namespace

SkinPictures PaintMessageBox() {
    const QImage background = PaintBackground();
    SkinPictures pictures = {
        {SkinPictureId::OknoWarning, background},
        {SkinPictureId::IkoInfo, PaintIcon(background, IconKind::Information)},
        {SkinPictureId::IkoPytanie, PaintIcon(background, IconKind::Question)},
        {SkinPictureId::IkoUwaga, PaintIcon(background, IconKind::Warning)},
    };
    const std::array<ButtonNames, 8> buttons = {{
        {SkinPictureId::ButTak, SkinPictureId::ButTakAkt, "Tak"},
        {SkinPictureId::ButNie, SkinPictureId::ButNieAkt, "Nie"},
        {SkinPictureId::ButAnuluj, SkinPictureId::ButAnulujAkt, "Anuluj"},
        {SkinPictureId::ButZamknij, SkinPictureId::ButZamknijAkt, "Zamknij"},
        {SkinPictureId::ButYes, SkinPictureId::ButYesAkt, "Yes"},
        {SkinPictureId::ButNo, SkinPictureId::ButNoAkt, "No"},
        {SkinPictureId::ButCancel, SkinPictureId::ButCancelAkt, "Cancel"},
        {SkinPictureId::ButClose, SkinPictureId::ButCloseAkt, "Close"},
    }};
    for (const ButtonNames& button : buttons) {
        const QString caption = QString::fromLatin1(button.caption);
        pictures.push_back(
            {button.plain, PaintAnswerButton(background, caption, ButtonLook::Normal)});
        pictures.push_back(
            {button.highlighted, PaintAnswerButton(background, caption, ButtonLook::Highlighted)});
    }
    return pictures;
}

}  // namespace oplix::artwork
