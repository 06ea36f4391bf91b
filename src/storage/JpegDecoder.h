#pragma once

#include <cstdint>
#include <span>

#include "storage/Bitmap.h"
#include "storage/Result.h"

namespace oplix {

// Decodes a baseline or progressive JPEG picture held in memory into an Rgb24 bitmap.
// Grayscale, YCbCr and RGB pictures are converted by the JPEG library, CMYK and YCCK ones
// here (the inverted form written with an Adobe marker, the plain form without). Fails on
// data that end early or whose compressed data are damaged, on pictures outside the picture
// limits and on more than 1000 scans; warnings about markers and headers are ignored.
Result<Bitmap> DecodeJpeg(std::span<const std::uint8_t> data);

}  // namespace oplix
