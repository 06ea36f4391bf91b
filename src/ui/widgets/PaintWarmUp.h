#pragma once

#include <QFont>
#include <initializer_list>

class QWidget;

namespace oplix::ui {

// Paints a hidden widget once into a scratch picture, and every letter a Polish text may use
// in each of the given fonts, so that its first paint on screen finds the fonts loaded, their
// glyphs cached and the painting code paged in. Nothing on screen changes.
void WarmUpPainting(QWidget& widget, std::initializer_list<QFont> fonts);

}  // namespace oplix::ui
