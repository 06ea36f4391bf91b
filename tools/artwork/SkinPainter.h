#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <string_view>
#include <vector>

#include "ui/widgets/SkinPictureId.h"

namespace oplix::artwork {

using ui::SkinPictureId;

// One skin picture of the catalogue, painted.
struct SkinPicture {
    ui::SkinPictureId id;
    QImage image;

    QString Name() const {
        const std::string_view name = ui::SkinPictureOf(id).name;
        return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
};
using SkinPictures = std::vector<SkinPicture>;

QImage NewPicture(int width, int height, const QColor& fill);

// A copy of a part of a picture: pieces that lie over a background start from the background
// under them, so that their corners blend in.
QImage CropPicture(const QImage& source, int left, int top, int width, int height);

// A painter with smooth edges and text.
void StartPainter(QPainter& painter, QImage& image);

void FillGradient(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom);

// A rounded panel whose 1-pixel border lies on whole pixels.
void DrawCard(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
              const QColor& border);
void DrawGradientCard(QPainter& painter, const QRectF& area, qreal radius, const QColor& top,
                      const QColor& bottom, const QColor& border);

void DrawText(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
              const QColor& colour, int flags = Qt::AlignLeft | Qt::AlignVCenter);

// A caption centred in its area with the letter at `underlined` (an index into the caption)
// underlined, as the letter that answers a button.
void DrawUnderlinedCaption(QPainter& painter, const QRectF& area, const QString& caption,
                           int underlined, const QFont& font, const QColor& colour);

enum class ButtonLook {
    Normal,       // light face, dark caption
    Highlighted,  // blue face, white caption: the button Enter answers with
};

// A push button filling its area; `underlined` is -1 for none.
void DrawButton(QPainter& painter, const QRectF& area, const QString& caption, int underlined,
                ButtonLook look, int pixelSize = 12);

// The cross of a close mark centred in its area.
void DrawCloseMark(QPainter& painter, const QRectF& area, const QColor& ink);

// An answer letter in state 0-3 on a rounded tile filling the cell.
void DrawLetterTile(QPainter& painter, const QRectF& cell, QChar letter, int state);

// The program's sign: a sheet of paper with ticked answer boxes, `size` pixels tall.
void DrawEmblem(QPainter& painter, const QPointF& topLeft, qreal size);

}  // namespace oplix::artwork
