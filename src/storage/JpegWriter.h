#pragma once

#include "storage/Bitmap.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

// Encodes a bitmap as a baseline JPEG file in memory: three components (YCbCr, chroma not
// subsampled), quality 1 to 100 as the JPEG library's scale. An Indexed8 bitmap is written
// through its palette. Fails on an empty bitmap and a quality outside 1 to 100.
Result<Bytes> WriteJpeg(const Bitmap& picture, int quality);

}  // namespace oplix
