#include "ui/widgets/ClickArea.h"

#include <QMouseEvent>

namespace oplix::ui {

ClickArea::ClickArea(QWidget* parent, const QRect& rectangle) : QWidget(parent) {
    setGeometry(rectangle);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void ClickArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit pressed(event->globalPosition().toPoint());
    }
}

void ClickArea::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->globalPosition().toPoint());
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    emit released();
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ClickArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

void ClickArea::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit entered();
}

}  // namespace oplix::ui
