#pragma once

#include "storage/Bitmap.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

// Encodes a bitmap as an uncompressed device-independent bitmap file in memory, with the
// 40-byte info header and rows bottom-up, each padded to a multiple of 4 bytes. Rgb24 gives
// 24 bits a pixel; Indexed8 gives 8 bits with a palette that covers every index used (the
// bitmap's palette, padded with black). Fails on an empty bitmap.
Result<Bytes> WriteBmp(const Bitmap& picture);

}  // namespace oplix
