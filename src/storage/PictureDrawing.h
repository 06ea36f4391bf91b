#pragma once

#include "storage/Bitmap.h"

namespace oplix {

// Draws a decoded picture at (0, 0) on a target that takes the picture's width and height
// and keeps its own pixel format. An Rgb24 target gets the picture's colours. An Indexed8
// target takes an Indexed8 picture's palette and indices as they are; of an Rgb24 picture
// each pixel becomes the nearest entry of the target's palette (the halftone palette when it
// has none). The picture is taken by value so that a decoded one can be moved in.
void DrawPicture(Bitmap picture, Bitmap& target);

}  // namespace oplix
