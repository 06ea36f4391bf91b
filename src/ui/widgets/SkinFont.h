#pragma once

#include <QColor>
#include <QFont>

namespace oplix::ui {

// The program's one typeface, a free sans font from Debian (fonts-dejavu-core). Its letters
// are wider than those the skins were laid out for, so sizes are a point smaller than the
// layout's nominal size; every text then stays inside its rectangle.
QFont SkinFont(int layoutPoints, bool bold = false);

// Dark grey of the menu captions and question texts.
inline QColor DarkGrey() {
    return QColor(46, 46, 46);
}

}  // namespace oplix::ui
