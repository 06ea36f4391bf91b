#pragma once

#include "storage/Bitmap.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

// Encodes a bitmap as a single-image GIF file in memory, with a global colour map and no
// transparency. An Indexed8 bitmap keeps its indices and palette; the map is padded with black
// to a power of two entries covering every index used, so an index without a palette entry
// stays black. An Rgb24 bitmap gets a map of its distinct colours in the order they first
// appear, rows top to bottom. Fails on an empty bitmap and on an Rgb24 one with more than
// 256 colours.
Result<Bytes> WriteGif(const Bitmap& picture);

}  // namespace oplix
