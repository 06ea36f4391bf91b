#include "ui/widgets/MenuCaption.h"

#include <QMouseEvent>

#include "ui/widgets/SkinFont.h"

namespace oplix::ui {

MenuCaption::MenuCaption(QWidget* parent, const QRect& rectangle, const QString& caption)
    : QLabel(caption, parent) {
    setGeometry(rectangle);
    setCursor(Qt::PointingHandCursor);
    setFont(SkinFont(8));
    setAttribute(Qt::WA_TranslucentBackground);
    setHighlighted(false);
}

void MenuCaption::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    const QColor colour = highlighted ? QColor(Qt::white) : DarkGrey();
    SetTextColour(this, colour);
}

void MenuCaption::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit entered();
}

void MenuCaption::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace oplix::ui
