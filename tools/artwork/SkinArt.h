#pragma once

#include "SkinPainter.h"

namespace oplix::artwork {

// Each function paints the pictures of one window (or one family of windows) at the sizes and
// cell layouts the program's windows are built for.

// "OknoGlowne", the two menu panels and the backdrop of the full-screen mode.
SkinPictures PaintMainWindow();

// "OknoTestu", the letter and number strips, the list background, the hint panel and buttons.
SkinPictures PaintTestPanel();

// "oknowarning", the yes/no/cancel/close buttons in both languages and the three icons.
SkinPictures PaintMessageBox();

// The summary background and its save button, the legend and the about picture.
SkinPictures PaintSmallWindows();

// The backgrounds of the three list choice windows.
SkinPictures PaintListWindows();

// The frame pieces, tools and strips of the question text and picture windows.
SkinPictures PaintFramedWindows();

// The scroll bar's arrows and slider, and the tree's two arrows.
SkinPictures PaintWidgets();

}  // namespace oplix::artwork
