#pragma once

#include <QImage>
#include <QString>

#include "storage/Bitmap.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix::samples {

Bitmap ToBitmap(const QImage& image);

// An Indexed8 copy whose palette is the picture's most frequent colours (at most 256); the
// other pixels take the nearest of them, which for a drawing are the shades of its edges.
Bitmap WithFrequentColours(const Bitmap& picture);

// The file's bytes for the format its extension names (.JPG, .GIF or .BMP, any case).
Result<Bytes> EncodeFor(const QString& fileName, const QImage& image);

}  // namespace oplix::samples
