#include "storage/Bitmap.h"

#include <algorithm>
#include <array>
#include <utility>

#include "storage/PictureLimits.h"

namespace oplix {
namespace {

constexpr std::size_t kMaxPaletteSize = 256;

std::vector<Rgb> MakeHalftonePalette() {
    std::vector<Rgb> palette;
    palette.reserve(kMaxPaletteSize);
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back({static_cast<std::uint8_t>(r * 51),
                                   static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
            }
        }
    }
    // 41 steps of 255/41 never land on a multiple of 51, so no gray repeats a cube entry.
    for (int i = 1; palette.size() < kMaxPaletteSize; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / 41);
        palette.push_back({level, level, level});
    }
    return palette;
}

// Nearest palette entry by squared distance in RGB, the first of equals. The entries are
// searched outwards from the colour's green level, which bounds the distance of all entries
// further out; pictures repeat colours a lot, so recent answers are kept in a small cache.
class NearestColour {
public:
    explicit NearestColour(const std::vector<Rgb>& palette) : palette_(palette) {
        byGreen_.resize(palette.size());
        for (std::size_t i = 0; i < palette.size(); ++i) {
            byGreen_[i] = static_cast<std::uint8_t>(i);
        }
        std::stable_sort(byGreen_.begin(), byGreen_.end(), [&](std::uint8_t a, std::uint8_t b) {
            return palette[a].g < palette[b].g;
        });
    }

    std::uint8_t IndexOf(Rgb colour) {
        const std::uint32_t key = (colour.r << 16) | (colour.g << 8) | colour.b;
        Slot& slot = cache_[(key * 2654435761u) >> (32 - kCacheBits)];
        if (slot.key != key + 1) {
            slot = {key + 1, Search(colour)};
        }
        return slot.index;
    }

private:
    static constexpr int kCacheBits = 12;
    struct Slot {
        std::uint32_t key = 0;  // colour + 1; 0 is an empty slot
        std::uint8_t index = 0;
    };
    struct Best {
        int distance = 1 << 30;
        std::size_t index = 0;
    };

    // False once the entry's green alone is further than the best distance.
    bool Consider(std::size_t entry, Rgb colour, Best& best) const {
        const Rgb& candidate = palette_[entry];
        const int dg = candidate.g - colour.g;
        if (dg * dg > best.distance) {
            return false;
        }
        const int dr = candidate.r - colour.r;
        const int db = candidate.b - colour.b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best.distance || (distance == best.distance && entry < best.index)) {
            best = {distance, entry};
        }
        return true;
    }

    std::uint8_t Search(Rgb colour) const {
        const auto start = std::lower_bound(
            byGreen_.begin(), byGreen_.end(), colour.g,
            [&](std::uint8_t entry, std::uint8_t green) { return palette_[entry].g < green; });
        Best best;
        for (auto up = start; up != byGreen_.end() && Consider(*up, colour, best); ++up) {
        }
        for (auto down = start; down != byGreen_.begin() && Consider(*(down - 1), colour, best);
             --down) {
        }
        return static_cast<std::uint8_t>(best.index);
    }

    const std::vector<Rgb>& palette_;
    std::vector<std::uint8_t> byGreen_;
    std::array<Slot, 1 << kCacheBits> cache_{};
};

}  // namespace

const std::vector<Rgb>& HalftonePalette() {
    static const std::vector<Rgb> palette = MakeHalftonePalette();
    return palette;
}

Result<Bitmap> Bitmap::Create(int width, int height, PixelFormat format) {
    Bitmap bitmap;
    bitmap.SetFormat(format);
    if (Status sized = bitmap.SetSize(width, height); !sized) {
        return sized.error();
    }
    return bitmap;
}

void Bitmap::SetPalette(std::vector<Rgb> palette) {
    if (palette.size() > kMaxPaletteSize) {
        palette.resize(kMaxPaletteSize);
    }
    palette_ = std::move(palette);
}

void Bitmap::SetFormat(PixelFormat format) {
    if (format == PixelFormat::Indexed8 && palette_.empty()) {
        palette_ = HalftonePalette();
    }
    if (format == format_) {
        return;
    }
    if (format == PixelFormat::Rgb24) {
        ConvertToRgb24();
    } else {
        ConvertToIndexed8();
    }
}

Status Bitmap::SetSize(int width, int height) {
    if (Status allowed = CheckPictureSize(width, height); !allowed) {
        return allowed;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(RowBytes() * static_cast<std::size_t>(height), 0);
    return Success();
}

std::span<std::uint8_t> Bitmap::Row(int y) {
    return std::span(pixels_).subspan(static_cast<std::size_t>(y) * RowBytes(), RowBytes());
}

std::span<const std::uint8_t> Bitmap::Row(int y) const {
    return std::span(pixels_).subspan(static_cast<std::size_t>(y) * RowBytes(), RowBytes());
}

Rgb Bitmap::PixelRgb(int x, int y) const {
    const std::span<const std::uint8_t> row = Row(y);
    if (format_ == PixelFormat::Rgb24) {
        const std::size_t at = static_cast<std::size_t>(x) * 3;
        return {row[at], row[at + 1], row[at + 2]};
    }
    const std::uint8_t index = row[static_cast<std::size_t>(x)];
    return index < palette_.size() ? palette_[index] : Rgb{};
}

void Bitmap::ConvertToRgb24() {
    Bytes rgb(pixels_.size() * 3);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const std::uint8_t index = pixels_[i];
        const Rgb colour = index < palette_.size() ? palette_[index] : Rgb{};
        rgb[i * 3] = colour.r;
        rgb[i * 3 + 1] = colour.g;
        rgb[i * 3 + 2] = colour.b;
    }
    pixels_ = std::move(rgb);
    format_ = PixelFormat::Rgb24;
}

void Bitmap::ConvertToIndexed8() {
    NearestColour nearest(palette_);
    Bytes indices(pixels_.size() / 3);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = nearest.IndexOf({pixels_[i * 3], pixels_[i * 3 + 1], pixels_[i * 3 + 2]});
    }
    pixels_ = std::move(indices);
    format_ = PixelFormat::Indexed8;
}

}  // namespace oplix
