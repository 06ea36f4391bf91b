#pragma once

// What every picture harness checks of a decoded picture.
#include <cstdint>
#include <cstdlib>

#include "storage/Bitmap.h"
#include "storage/PictureDrawing.h"
#include "storage/PictureLimits.h"

namespace oplix::fuzzing {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Reads the pixels, so that a row shorter than claimed shows under the sanitizers, and draws
// small pictures on targets of both formats.
inline void CheckPicture(const Bitmap& picture, PixelFormat expected) {
    Check(picture.Format() == expected);
    Check(picture.Width() > 0 && picture.Height() > 0);
    Check(PictureSizeAllowed(picture.Width(), picture.Height()));
    Check(picture.Palette().size() <= 256);
    Check(expected == PixelFormat::Rgb24 || !picture.Palette().empty());
    // Every row of a small picture, the first and last of a big one.
    const bool small = static_cast<long>(picture.Width()) * picture.Height() <= 1 << 20;
    unsigned sum = 0;
    for (int y = 0; y < picture.Height(); y += small ? 1 : picture.Height() - 1) {
        Check(picture.Row(y).size() == picture.RowBytes());
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgb pixel = picture.PixelRgb(x, y);
            sum += pixel.r + pixel.g + pixel.b;
        }
        if (picture.Height() == 1) {
            break;
        }
    }
    volatile unsigned sink = sum;
    (void)sink;
    if (static_cast<long>(picture.Width()) * picture.Height() > 4096) {
        return;
    }
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Indexed8}) {
        Bitmap target;
        target.SetFormat(format);
        DrawPicture(picture, target);
        Check(target.Format() == format);
        Check(target.Width() == picture.Width() && target.Height() == picture.Height());
    }
}

}  // namespace oplix::fuzzing
