#include "PictureFiles.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "storage/BmpWriter.h"
#include "storage/GifWriter.h"
#include "storage/JpegWriter.h"

namespace oplix::samples {
namespace {

constexpr int kJpegQuality = 92;
constexpr std::size_t kPaletteSize = 256;

std::uint32_t Key(Rgb colour) {
    return (colour.r << 16) | (colour.g << 8) | colour.b;
}

std::unordered_map<std::uint32_t, std::size_t> ColourCounts(const Bitmap& picture) {
    std::unordered_map<std::uint32_t, std::size_t> counts;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            ++counts[Key(picture.PixelRgb(x, y))];
        }
    }
    return counts;
}

std::size_t ColourCount(const Bitmap& picture) {
    return ColourCounts(picture).size();
}

}  // namespace

Bitmap ToBitmap(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap = Bitmap::Create(rgb.width(), rgb.height(), PixelFormat::Rgb24).value();
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(bitmap.Row(y).data(), rgb.constScanLine(y), bitmap.RowBytes());
    }
    return bitmap;
}

Bitmap WithFrequentColours(const Bitmap& picture) {
    const auto counts = ColourCounts(picture);
    std::vector<std::pair<std::uint32_t, std::size_t>> byCount(counts.begin(), counts.end());
    // Ties broken by the colour, so that every run gives the same palette.
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    byCount.resize(std::min(byCount.size(), kPaletteSize));
    std::vector<Rgb> palette;
    for (const auto& [key, count] : byCount) {
        palette.push_back({static_cast<std::uint8_t>(key >> 16),
                           static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)});
    }
    Bitmap indexed = picture;
    indexed.SetPalette(std::move(palette));
    indexed.SetFormat(PixelFormat::Indexed8);
    return indexed;
}

Result<Bytes> EncodeFor(const QString& fileName, const QImage& image) {
    const Bitmap bitmap = ToBitmap(image);
    const QString upper = fileName.toUpper();
    if (upper.endsWith(".JPG")) {
        return WriteJpeg(bitmap, kJpegQuality);
    }
    if (upper.endsWith(".GIF")) {
        return WriteGif(WithFrequentColours(bitmap));
    }
    if (upper.endsWith(".BMP")) {
        // Drawings of a few flat colours lose nothing in 8 bits; antialiased ones keep 24.
        return WriteBmp(ColourCount(bitmap) <= kPaletteSize ? WithFrequentColours(bitmap) : bitmap);
    }
    return Error{0, "no picture format for " + fileName.toStdString()};
}

}  // namespace oplix::samples
