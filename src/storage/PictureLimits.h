#pragma once

#include <cstdint>
#include <string>

#include "storage/Result.h"

namespace oplix {

// The largest picture any decoder accepts. A damaged or hostile header may claim any size;
// these bounds are checked before a pixel buffer is allocated.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64 * 1024 * 1024;

// Sides of 0 are allowed (an empty bitmap); negative sides are not. The product is formed
// only after both sides are known to be small, so it cannot overflow.
inline bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return false;
    }
    return width * height <= kMaxPicturePixels;
}

inline Status CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (!PictureSizeAllowed(width, height)) {
        return Error{0, "picture size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is outside the limits"};
    }
    return Success();
}

}  // namespace oplix
