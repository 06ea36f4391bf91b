#include "storage/BmpWriter.h"

#include <algorithm>
#include <vector>

namespace oplix {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots an inch

void PutU16(Bytes& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& bytes, std::uint32_t value) {
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

std::vector<Rgb> PaletteCoveringIndices(const Bitmap& picture) {
    std::size_t needed = std::max<std::size_t>(picture.Palette().size(), 1);
    for (int y = 0; y < picture.Height(); ++y) {
        const auto row = picture.Row(y);
        needed = std::max<std::size_t>(needed, *std::max_element(row.begin(), row.end()) + 1u);
    }
    std::vector<Rgb> palette = picture.Palette();
    palette.resize(needed, Rgb{});
    return palette;
}

// A BMP row holds blue, green, red.
void PutRow(Bytes& out, std::span<const std::uint8_t> row, bool rgb, std::size_t paddedSize) {
    const std::size_t start = out.size();
    if (rgb) {
        for (std::size_t x = 0; x + 2 < row.size(); x += 3) {
            out.insert(out.end(), {row[x + 2], row[x + 1], row[x]});
        }
    } else {
        out.insert(out.end(), row.begin(), row.end());
    }
    out.resize(start + paddedSize, 0);
}

}  // namespace

Result<Bytes> WriteBmp(const Bitmap& picture) {
    if (picture.Width() == 0 || picture.Height() == 0) {
        return Error{0, "BMP: an empty picture cannot be written"};
    }
    const bool rgb = picture.Format() == PixelFormat::Rgb24;
    const std::vector<Rgb> palette = rgb ? std::vector<Rgb>{} : PaletteCoveringIndices(picture);
    const auto rowSize = static_cast<std::uint32_t>((picture.RowBytes() + 3) / 4 * 4);
    const auto pixelsSize = rowSize * static_cast<std::uint32_t>(picture.Height());
    const auto pixelsAt =
        kFileHeaderSize + kInfoHeaderSize + static_cast<std::uint32_t>(palette.size()) * 4;

    Bytes out;
    out.reserve(pixelsAt + pixelsSize);
    out.insert(out.end(), {'B', 'M'});
    PutU32(out, pixelsAt + pixelsSize);
    PutU32(out, 0);  // reserved
    PutU32(out, pixelsAt);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(picture.Width()));
    PutU32(out, static_cast<std::uint32_t>(picture.Height()));  // positive: bottom-up
    PutU16(out, 1);                                             // planes
    PutU16(out, rgb ? 24 : 8);
    PutU32(out, 0);  // no compression
    PutU32(out, pixelsSize);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, static_cast<std::uint32_t>(palette.size()));  // entries used
    PutU32(out, 0);                                           // all entries important

    for (const Rgb& entry : palette) {
        out.insert(out.end(), {entry.b, entry.g, entry.r, 0});
    }
    for (int y = picture.Height() - 1; y >= 0; --y) {
        PutRow(out, picture.Row(y), rgb, rowSize);
    }
    return out;
}

}  // namespace oplix
