#include "ui/widgets/PictureButton.h"

#include <QMouseEvent>
#include <QPixmap>
#include <utility>

namespace oplix::ui {

PictureButton::PictureButton(QWidget* parent, const QRect& rectangle) : QLabel(parent) {
    setGeometry(rectangle);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setPicture(const QImage& picture) {
    setPixmap(QPixmap::fromImage(picture));
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (std::exchange(inDoubleClick_, false)) {
        return;
    }
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

// A double click is one click followed by a double-click event, which a picture button does
// not take: the second press and its release count for nothing.
void PictureButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        inDoubleClick_ = true;
    }
}

}  // namespace oplix::ui
