#include "ui/widgets/SkinFont.h"

#include <QPalette>
#include <QWidget>

namespace oplix::ui {

QFont SkinFont(int layoutPoints, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, layoutPoints - 1));
    font.setBold(bold);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    colours.setColor(QPalette::Text, colour);
    widget->setPalette(colours);
}

}  // namespace oplix::ui
