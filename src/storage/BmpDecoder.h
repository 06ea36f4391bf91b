#pragma once

#include <cstdint>
#include <span>

#include "storage/Bitmap.h"
#include "storage/Result.h"

namespace oplix {

// Decodes a device-independent bitmap file ("BM" file header) held in memory. Headers: the
// 12-byte core header and the 40-, 52-, 56-, 64-, 108- and 124-byte info headers (colour
// space and profile fields ignored). 1, 4 and 8 bits a pixel, plain or RLE4/RLE8, give an
// Indexed8 bitmap with the file's palette (an entry count of 0 meaning all 2^bits entries);
// an index past the palette shows as black. 16 bits (5-5-5 unless masks are given), 24 and
// 32 bits give Rgb24; alpha is ignored. Rows are bottom-up for a positive height and top-down
// for a negative one (not for RLE). Pixels that RLE data skip keep index 0.
// The pixel data start at the file header's offset when it lies after the headers and inside
// the file, otherwise right after the palette. Fails on sizes outside the picture limits and
// on data that end early.
Result<Bitmap> DecodeBmp(std::span<const std::uint8_t> data);

}  // namespace oplix
