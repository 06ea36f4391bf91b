#include "ui/widgets/PictureButton.h"

#include <QMouseEvent>
#include <QPixmap>

namespace oplix::ui {

PictureButton::PictureButton(QWidget* parent, const QRect& rectangle) : QLabel(parent) {
    setGeometry(rectangle);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setPicture(const QImage& picture) {
    setPixmap(QPixmap::fromImage(picture));
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace oplix::ui
