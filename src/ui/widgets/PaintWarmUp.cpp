#include "ui/widgets/PaintWarmUp.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace oplix::ui {
namespace {

// Letters, digits and the signs of questions and answers, with Polish letters in both cases.
const QString& Sample() {
    static const QString sample = QStringLiteral(
        "AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż "
        "0123456789 .,:;?!()[]-–—·•×÷+=<>%/\\\"'„”«»*&#@_~^|{}");
    return sample;
}

}  // namespace

void WarmUpPainting(QWidget& widget, std::initializer_list<QFont> fonts) {
    QImage scratch(widget.size(), QImage::Format_RGB32);
    widget.render(&scratch);
    QPainter painter(&scratch);
    // Glyphs are cached for each quarter-pixel position they are drawn at: shifting the whole
    // sample by quarters draws every letter at every one of them.
    constexpr int kPositions = 4;
    for (const QFont& font : fonts) {
        painter.setFont(font);
        for (int position = 0; position < kPositions; ++position) {
            const QRectF area(QPointF(qreal(position) / kPositions, 0), scratch.size());
            painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Sample());
        }
    }
}

}  // namespace oplix::ui
