#include <QFont>

#include "Drawings.h"

namespace oplix::samples {

QImage NewCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont LabelFont(int pixelSize, bool bold) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace oplix::samples
