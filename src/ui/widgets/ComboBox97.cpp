#include "ui/widgets/ComboBox97.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "ui/widgets/SkinFont.h"

namespace oplix::ui {
namespace {

constexpr int kFrame = 2;  // the button-face part of the frame

class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), ComboBox97::kItemHeight);
    }
};

// A one-pixel edge: sunken has the shadow at the top and left, raised at the bottom and right.
void DrawEdge(QPainter& painter, const QRect& rectangle, const QPalette& palette, bool raised) {
    const QColor topLeft = palette.color(raised ? QPalette::Light : QPalette::Dark);
    const QColor bottomRight = palette.color(raised ? QPalette::Dark : QPalette::Light);
    painter.setPen(topLeft);
    painter.drawLine(rectangle.topLeft(), rectangle.topRight());
    painter.drawLine(rectangle.topLeft(), rectangle.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rectangle.bottomLeft(), rectangle.bottomRight());
    painter.drawLine(rectangle.topRight(), rectangle.bottomRight());
}

}  // namespace

ComboBox97::ComboBox97(QWidget* parent, const QRect& rectangle) : QComboBox(parent) {
    setGeometry(rectangle);
    setEditable(false);
    setFont(SkinFont(8));
    setAttribute(Qt::WA_Hover);
    view()->setItemDelegate(new FixedRowDelegate(view()));
    QPalette colours = view()->palette();
    colours.setColor(QPalette::Text, DarkGrey());
    view()->setPalette(colours);
}

QRect ComboBox97::ButtonRect() const {
    const int buttonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    return QRect(width() - kFrame - buttonWidth, kFrame, buttonWidth, height() - 2 * kFrame);
}

QColor ComboBox97::FieldColour() const {
    if (!isEnabled() && parentWidget() != nullptr) {
        return parentWidget()->palette().color(parentWidget()->backgroundRole());
    }
    return palette().color(QPalette::Base);
}

void ComboBox97::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const QColor face = colours.color(QPalette::Button);
    const QRect whole = rect();
    painter.fillRect(whole, face);
    const QRect inside = whole.adjusted(kFrame, kFrame, -kFrame, -kFrame);
    painter.fillRect(inside, FieldColour());
    const QRect button = ButtonRect();
    painter.fillRect(button, face);
    if (IsHot()) {
        DrawEdge(painter, whole, colours, false);
        DrawEdge(painter, button, colours, !listOpen_);
    }
    DrawArrow(painter, button);

    // The text sits inside the one-pixel window-colour frame, left of the button.
    QRect text(inside.left() + 1, inside.top() + 1, button.left() - inside.left() - 2,
               inside.height() - 2);
    QColor ink = isEnabled() ? DarkGrey() : colours.color(QPalette::Disabled, QPalette::Text);
    if (hasFocus() && !listOpen_) {
        painter.fillRect(text, colours.color(QPalette::Highlight));
        ink = colours.color(QPalette::HighlightedText);
    }
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(currentText(), Qt::ElideRight, text.width() - 2));
}

void ComboBox97::DrawArrow(QPainter& painter, const QRect& button) const {
    const QPoint centre = button.center() + (listOpen_ ? QPoint(1, 1) : QPoint());
    const QPolygon arrow({centre + QPoint(-3, -1), centre + QPoint(3, -1), centre + QPoint(0, 2)});
    const QColor ink = isEnabled() ? palette().color(QPalette::ButtonText)
                                   : palette().color(QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(ink);
    painter.setBrush(ink);
    painter.drawPolygon(arrow);
    painter.setBrush(Qt::NoBrush);
}

void ComboBox97::showPopup() {
    listOpen_ = true;
    update();
    QComboBox::showPopup();
}

void ComboBox97::hidePopup() {
    QComboBox::hidePopup();
    listOpen_ = false;
    update();
}

void ComboBox97::enterEvent(QEnterEvent* event) {
    underMouse_ = true;
    update();
    QComboBox::enterEvent(event);
}

void ComboBox97::leaveEvent(QEvent* event) {
    underMouse_ = false;
    update();
    QComboBox::leaveEvent(event);
}

void ComboBox97::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    update();
}

void ComboBox97::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    update();
}

}  // namespace oplix::ui
