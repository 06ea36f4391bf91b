#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

enum class PixelFormat {
    Rgb24,     // 3 bytes a pixel: red, green, blue
    Indexed8,  // 1 byte a pixel: an index into the palette
};

// The fixed 256-entry palette of a bitmap that becomes indexed without a palette of its own:
// the 6 x 6 x 6 colour cube (levels 0, 51, ..., 255; entry r * 36 + g * 6 + b) followed by
// 40 grays that lie between the cube's levels.
const std::vector<Rgb>& HalftonePalette();

// A picture in memory: rows top to bottom, each row's pixels left to right, rows stored back
// to back without padding. The palette (at most 256 entries) is used by Indexed8 only and is
// kept across format changes; an index with no palette entry shows as black.
class Bitmap {
public:
    // Rgb24, 0 x 0.
    Bitmap() = default;

    // Every pixel 0: black, or palette entry 0 of the halftone palette for Indexed8.
    // Fails when the size is outside the picture limits.
    static Result<Bitmap> Create(int width, int height, PixelFormat format);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    const std::vector<Rgb>& Palette() const { return palette_; }

    // Entries after the 256th are dropped.
    void SetPalette(std::vector<Rgb> palette);

    // Keeps the picture as far as the format can: Indexed8 to Rgb24 looks each index up;
    // Rgb24 to Indexed8 takes for each pixel the nearest palette entry (first of equals),
    // after giving the bitmap the halftone palette when it has none.
    void SetFormat(PixelFormat format);

    // A new size with every pixel 0; fails, changing nothing, outside the picture limits.
    Status SetSize(int width, int height);

    std::size_t BytesPerPixel() const { return format_ == PixelFormat::Rgb24 ? 3 : 1; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * BytesPerPixel(); }

    // 0 <= y < Height().
    std::span<std::uint8_t> Row(int y);
    std::span<const std::uint8_t> Row(int y) const;

    // 0 <= x < Width(), 0 <= y < Height().
    Rgb PixelRgb(int x, int y) const;

private:
    void ConvertToRgb24();
    void ConvertToIndexed8();

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb24;
    std::vector<Rgb> palette_;
    Bytes pixels_;
};

}  // namespace oplix
