#include "storage/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <utility>
#include <vector>

#include "storage/PictureLimits.h"

namespace oplix {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum Compression : std::uint32_t {
    kPlain = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,
};

using Bytes8 = std::span<const std::uint8_t>;

std::uint16_t U16(Bytes8 data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

std::uint32_t U32(Bytes8 data, std::size_t at) {
    return static_cast<std::uint32_t>(U16(data, at)) |
           (static_cast<std::uint32_t>(U16(data, at + 2)) << 16);
}

Error BmpError(const std::string& what) {
    return Error{0, "BMP: " + what};
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0-255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t top = 1;  // the channel's largest value

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            top = mask >> shift;
        }
    }

    std::uint8_t Of(std::uint32_t pixel) const {
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kPlain;
    std::array<Channel, 3> channels;  // red, green, blue
    std::vector<Rgb> palette;
    std::size_t dataStart = 0;
};

bool IsKnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case kCoreHeaderSize:
        case kInfoHeaderSize:
        case 52:
        case 56:
        case 64:
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

Status CheckEncoding(const Layout& layout) {
    switch (layout.compression) {
        case kPlain:
            if (layout.bits == 1 || layout.bits == 4 || layout.bits == 8 || layout.bits == 16 ||
                layout.bits == 24 || layout.bits == 32) {
                return Success();
            }
            return BmpError(std::to_string(layout.bits) + " bits a pixel are not supported");
        case kRle8:
        case kRle4:
            if (layout.bits != (layout.compression == kRle8 ? 8 : 4)) {
                return BmpError("run-length data with " + std::to_string(layout.bits) + " bits");
            }
            if (layout.topDown) {
                return BmpError("run-length data must be bottom-up");
            }
            return Success();
        case kBitFields:
        case kAlphaBitFields:
            if (layout.bits == 16 || layout.bits == 32) {
                return Success();
            }
            return BmpError("bit fields with " + std::to_string(layout.bits) + " bits");
        default:
            return BmpError("compression " + std::to_string(layout.compression) +
                            " is not supported");
    }
}

// Reads the sizes, the encoding and the masks; returns where the palette starts.
Result<std::size_t> ReadHeader(Bytes8 data, Layout& layout) {
    if (data.size() < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') {
        return BmpError("not a bitmap file");
    }
    const std::uint32_t headerSize = U32(data, kFileHeaderSize);
    if (!IsKnownHeaderSize(headerSize)) {
        return BmpError("unknown header size " + std::to_string(headerSize));
    }
    std::size_t end = kFileHeaderSize + headerSize;
    if (data.size() < end) {
        return BmpError("header cut short");
    }
    const std::size_t h = kFileHeaderSize;
    if (headerSize == kCoreHeaderSize) {
        layout.width = U16(data, h + 4);
        layout.height = U16(data, h + 6);
        layout.bits = U16(data, h + 10);
    } else {
        layout.width = static_cast<std::int32_t>(U32(data, h + 4));
        const auto height = static_cast<std::int32_t>(U32(data, h + 8));
        layout.topDown = height < 0;
        layout.height = layout.topDown ? -static_cast<std::int64_t>(height) : height;
        layout.bits = U16(data, h + 14);
        layout.compression = U32(data, h + 16);
    }
    if (layout.width <= 0 || layout.height <= 0) {
        return BmpError("empty picture");
    }
    if (Status allowed = CheckPictureSize(layout.width, layout.height); !allowed) {
        return allowed.error();
    }
    if (Status supported = CheckEncoding(layout); !supported) {
        return supported.error();
    }

    std::array<std::uint32_t, 3> masks = {0x7C00, 0x03E0, 0x001F};  // 16 bits: 5-5-5
    if (layout.bits == 32) {
        masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    if (layout.compression == kBitFields || layout.compression == kAlphaBitFields) {
        // A 40-byte header is followed by the masks; longer headers hold them.
        std::size_t at = h + kInfoHeaderSize;
        if (headerSize == kInfoHeaderSize) {
            end += layout.compression == kBitFields ? 12 : 16;
            if (data.size() < end) {
                return BmpError("masks cut short");
            }
        }
        for (std::uint32_t& mask : masks) {
            mask = U32(data, at);
            at += 4;
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        layout.channels[i] = Channel(masks[i]);
    }
    return end;
}

Status ReadPalette(Bytes8 data, std::size_t paletteStart, Layout& layout) {
    const bool core = U32(data, kFileHeaderSize) == kCoreHeaderSize;
    const std::size_t entrySize = core ? 3 : 4;
    const std::uint32_t used = core ? 0 : U32(data, kFileHeaderSize + 32);
    const std::uint32_t offset = U32(data, 10);
    const bool offsetPlausible = offset >= paletteStart && offset < data.size();

    std::size_t count = std::min<std::size_t>(used, 256);
    if (layout.bits <= 8) {
        const std::size_t full = std::size_t{1} << layout.bits;
        count = used == 0 ? full : std::min<std::size_t>(used, full);
        if (offsetPlausible) {
            count = std::min(count, (offset - paletteStart) / entrySize);
        }
        if (count == 0) {
            return BmpError("no palette");
        }
    }
    const std::size_t paletteEnd = paletteStart + count * entrySize;
    if (paletteEnd > data.size()) {
        return BmpError("palette cut short");
    }
    if (layout.bits <= 8) {
        for (std::size_t at = paletteStart; at < paletteEnd; at += entrySize) {
            layout.palette.push_back({data[at + 2], data[at + 1], data[at]});
        }
    }
    layout.dataStart = offsetPlausible ? offset : paletteEnd;
    return Success();
}

Result<Layout> ReadLayout(Bytes8 data) {
    Layout layout;
    Result<std::size_t> paletteStart = ReadHeader(data, layout);
    if (!paletteStart) {
        return paletteStart.error();
    }
    if (Status read = ReadPalette(data, *paletteStart, layout); !read) {
        return read.error();
    }
    return layout;
}

void UnpackIndices(const std::uint8_t* source, int bits, std::span<std::uint8_t> row) {
    const int perByte = 8 / bits;
    const unsigned valueMask = (1u << bits) - 1;
    for (std::size_t x = 0; x < row.size(); ++x) {
        const int shift = 8 - bits * (static_cast<int>(x % perByte) + 1);
        row[x] = static_cast<std::uint8_t>((source[x / perByte] >> shift) & valueMask);
    }
}

void UnpackColours(const std::uint8_t* source, const Layout& layout, std::span<std::uint8_t> row) {
    const std::size_t width = row.size() / 3;
    for (std::size_t x = 0; x < width; ++x) {
        std::uint8_t* out = &row[x * 3];
        if (layout.bits == 24) {
            const std::uint8_t* in = source + x * 3;
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            continue;
        }
        const std::uint8_t* in = source + x * (layout.bits / 8);
        std::uint32_t pixel = in[0] | (in[1] << 8);
        if (layout.bits == 32) {
            pixel |= (static_cast<std::uint32_t>(in[2]) << 16) |
                     (static_cast<std::uint32_t>(in[3]) << 24);
        }
        for (std::size_t c = 0; c < 3; ++c) {
            out[c] = layout.channels[c].Of(pixel);
        }
    }
}

Status DecodePlain(Bytes8 data, const Layout& layout, Bitmap& picture) {
    const auto bits = static_cast<std::uint64_t>(layout.bits);
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(layout.width) * bits + 7) / 8;
    const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
    const auto height = static_cast<std::uint64_t>(layout.height);
    // The last row's padding may be missing.
    if (stride * (height - 1) + rowBytes > data.size() - layout.dataStart) {
        return BmpError("pixel data cut short");
    }
    for (std::uint64_t r = 0; r < height; ++r) {
        const std::uint8_t* source = data.data() + layout.dataStart + r * stride;
        const int y = static_cast<int>(layout.topDown ? r : height - 1 - r);
        if (layout.bits <= 8) {
            UnpackIndices(source, layout.bits, picture.Row(y));
        } else {
            UnpackColours(source, layout, picture.Row(y));
        }
    }
    return Success();
}

// Run-length data: pairs of (count, index) are runs; a count of 0 starts an escape: 0 ends
// the line, 1 ends the picture, 2 moves right and up by the next two bytes, 3-255 are that
// many literal pixels padded to a 16-bit boundary. RLE4 pixels alternate the two nibbles.
class RleDecoder {
public:
    RleDecoder(Bytes8 stream, bool nibbles, Bitmap& picture)
        : stream_(stream), nibbles_(nibbles), picture_(picture) {}

    Status Run() {
        while (row_ < picture_.Height()) {
            if (!Has(2)) {
                return BmpError("run-length data cut short");
            }
            const std::uint8_t count = stream_[at_];
            const std::uint8_t value = stream_[at_ + 1];
            at_ += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i) {
                    Put(nibbles_ ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
                }
                continue;
            }
            if (value == 0) {
                x_ = 0;
                ++row_;
            } else if (value == 1) {
                return Success();
            } else if (value == 2) {
                if (!Has(2)) {
                    return BmpError("run-length data cut short");
                }
                x_ += stream_[at_];
                row_ += stream_[at_ + 1];
                at_ += 2;
            } else if (Status copied = Literal(value); !copied) {
                return copied;
            }
        }
        return Success();
    }

private:
    bool Has(std::size_t count) const { return stream_.size() - at_ >= count; }

    Status Literal(int count) {
        const std::size_t bytes = nibbles_ ? (count + 1) / 2 : count;
        if (!Has(bytes)) {
            return BmpError("run-length data cut short");
        }
        for (int i = 0; i < count; ++i) {
            const std::uint8_t byte = stream_[at_ + (nibbles_ ? i / 2 : i)];
            Put(nibbles_ ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
        }
        at_ += bytes + bytes % 2;
        if (at_ > stream_.size()) {
            at_ = stream_.size();
        }
        return Success();
    }

    // Pixels past the right edge are dropped; rows count from the bottom.
    void Put(int index) {
        if (x_ < picture_.Width()) {
            const auto y = static_cast<int>(picture_.Height() - 1 - row_);
            picture_.Row(y)[static_cast<std::size_t>(x_)] = static_cast<std::uint8_t>(index);
        }
        ++x_;
    }

    Bytes8 stream_;
    std::size_t at_ = 0;
    bool nibbles_;
    Bitmap& picture_;
    std::int64_t x_ = 0;
    std::int64_t row_ = 0;
};

}  // namespace

Result<Bitmap> DecodeBmp(std::span<const std::uint8_t> data) {
    Result<Layout> layout = ReadLayout(data);
    if (!layout) {
        return layout.error();
    }
    const bool indexed = layout->bits <= 8;
    Result<Bitmap> picture =
        Bitmap::Create(static_cast<int>(layout->width), static_cast<int>(layout->height),
                       indexed ? PixelFormat::Indexed8 : PixelFormat::Rgb24);
    if (!picture) {
        return picture.error();
    }
    if (indexed) {
        picture->SetPalette(std::move(layout->palette));
    }
    Status decoded = Success();
    if (layout->compression == kRle8 || layout->compression == kRle4) {
        RleDecoder rle(data.subspan(layout->dataStart), layout->compression == kRle4, *picture);
        decoded = rle.Run();
    } else {
        decoded = DecodePlain(data, *layout, *picture);
    }
    if (!decoded) {
        return decoded.error();
    }
    return picture;
}

}  // namespace oplix
