#include "storage/GifWriter.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <gif_lib.h>

namespace oplix {
namespace {

constexpr std::size_t kMaxColours = 256;

// Indices and palette as the file will hold them.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    Bytes indices;  // rows top to bottom
    std::vector<Rgb> palette;
};

Error GifError(int code) {
    const char* text = GifErrorString(code);
    return Error{0, std::string("GIF: ") + (text ? text : "error " + std::to_string(code))};
}

IndexedPicture FromIndexed(const Bitmap& picture) {
    IndexedPicture indexed{picture.Width(), picture.Height(), {}, picture.Palette()};
    indexed.indices.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        const auto row = picture.Row(y);
        indexed.indices.insert(indexed.indices.end(), row.begin(), row.end());
    }
    return indexed;
}

Result<IndexedPicture> FromRgb(const Bitmap& picture) {
    IndexedPicture indexed{picture.Width(), picture.Height(), {}, {}};
    indexed.indices.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height());
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgb colour = picture.PixelRgb(x, y);
            const std::uint32_t key = (colour.r << 16) | (colour.g << 8) | colour.b;
            auto found = indexOf.find(key);
            if (found == indexOf.end()) {
                if (indexed.palette.size() == kMaxColours) {
                    return Error{0, "GIF: the picture has more than 256 colours"};
                }
                const auto index = static_cast<std::uint8_t>(indexed.palette.size());
                found = indexOf.emplace(key, index).first;
                indexed.palette.push_back(colour);
            }
            indexed.indices.push_back(found->second);
        }
    }
    return indexed;
}

// A colour map holds 2 to 256 entries, a power of two.
std::vector<GifColorType> ColourMap(const IndexedPicture& picture) {
    std::size_t needed = picture.palette.size();
    if (!picture.indices.empty()) {
        needed = std::max<std::size_t>(
            needed, *std::max_element(picture.indices.begin(), picture.indices.end()) + 1u);
    }
    std::size_t size = 2;
    while (size < needed) {
        size *= 2;
    }
    std::vector<GifColorType> map(size, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < picture.palette.size(); ++i) {
        map[i] = {picture.palette[i].r, picture.palette[i].g, picture.palette[i].b};
    }
    return map;
}

int AppendBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto& out = *static_cast<Bytes*>(gif->UserData);
    out.insert(out.end(), data, data + length);
    return length;
}

struct MapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Closing writes the trailer; a file closed by this deleter has failed and is discarded.
struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

Status WriteImage(GifFileType* gif, const IndexedPicture& picture) {
    std::vector<GifColorType> entries = ColourMap(picture);
    const std::unique_ptr<ColorMapObject, MapFree> map(
        GifMakeMapObject(static_cast<int>(entries.size()), entries.data()));
    if (!map) {
        return GifError(E_GIF_ERR_NOT_ENOUGH_MEM);
    }
    if (EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, map.get()) == GIF_ERROR ||
        EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_ERROR) {
        return GifError(gif->Error);
    }
    for (int y = 0; y < picture.height; ++y) {
        auto* line = const_cast<GifPixelType*>(picture.indices.data() +
                                               static_cast<std::size_t>(y) * picture.width);
        if (EGifPutLine(gif, line, picture.width) == GIF_ERROR) {
            return GifError(gif->Error);
        }
    }
    return Success();
}

}  // namespace

Result<Bytes> WriteGif(const Bitmap& picture) {
    if (picture.Width() == 0 || picture.Height() == 0) {
        return Error{0, "GIF: an empty picture cannot be written"};
    }
    Result<IndexedPicture> indexed = picture.Format() == PixelFormat::Indexed8
                                         ? Result<IndexedPicture>(FromIndexed(picture))
                                         : FromRgb(picture);
    if (!indexed) {
        return indexed.error();
    }
    Bytes out;
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, AppendBytes, &error));
    if (!gif) {
        return GifError(error);
    }
    if (Status written = WriteImage(gif.get(), *indexed); !written) {
        return written.error();
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) {
        return GifError(error);
    }
    return out;
}

}  // namespace oplix
