#pragma once

#include <cstdint>
#include <span>

#include "storage/Bitmap.h"
#include "storage/Result.h"

namespace oplix {

// Decodes the first image of a GIF held in memory into an Indexed8 bitmap of the logical
// screen's size, with the image's palette (its local colour map, else the global one). The
// image is drawn at its offset, clipped to the screen; the rest of the screen holds the
// background index (0 when the palette has no such entry). Interlaced images are put in
// row order. Transparency and later images are ignored. Fails on a picture without a colour
// map, an empty screen or image, sizes outside the picture limits and data that end early.
Result<Bitmap> DecodeGif(std::span<const std::uint8_t> data);

}  // namespace oplix
