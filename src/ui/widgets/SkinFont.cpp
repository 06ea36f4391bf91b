#include "ui/widgets/SkinFont.h"

namespace oplix::ui {

QFont SkinFont(int layoutPoints, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, layoutPoints - 1));
    font.setBold(bold);
    return font;
}

}  // namespace oplix::ui
