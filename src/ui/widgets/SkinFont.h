#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace oplix::ui {

// The program's one typeface, a free sans font from Debian (fonts-dejavu-core). Its letters
// are wider than those the skins were laid out for, so sizes are a point smaller than the
// layout's nominal size; every text then stays inside its rectangle.
QFont SkinFont(int layoutPoints, bool bold = false);

// Gives a widget's text a colour through its palette. A style sheet would do the same, but
// polishing widgets with style sheets costs milliseconds when a window is first shown.
void SetTextColour(QWidget* widget, const QColor& colour);

// Dark grey of the menu captions and question texts.
inline QColor DarkGrey() {
    return QColor(46, 46, 46);
}

}  // namespace oplix::ui
