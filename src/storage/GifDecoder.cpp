#include "storage/GifDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "storage/PictureLimits.h"

namespace oplix {
namespace {

struct Reader {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto& reader = *static_cast<Reader*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(wanted, 0)),
                                       reader.data.size() - reader.position);
    if (count > 0) {
        std::memcpy(buffer, reader.data.data() + reader.position, count);
    }
    reader.position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

Error GifError(int code) {
    const char* text = GifErrorString(code);
    return Error{0, std::string("GIF: ") + (text ? text : "error " + std::to_string(code))};
}

Error GifError(const char* what) {
    return Error{0, std::string("GIF: ") + what};
}

// Reads records up to the first image descriptor, skipping extensions.
Status SkipToFirstImage(GifFileType* gif) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            return GifError(gif->Error);
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            return DGifGetImageDesc(gif) == GIF_ERROR ? Status(GifError(gif->Error)) : Success();
        }
        if (type == TERMINATE_RECORD_TYPE) {
            return GifError("no image");
        }
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
                return GifError(gif->Error);
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
                    return GifError(gif->Error);
                }
            }
        }
    }
}

std::vector<Rgb> PaletteOf(const ColorMapObject& map) {
    std::vector<Rgb> palette;
    for (int i = 0; i < map.ColorCount; ++i) {
        palette.push_back({map.Colors[i].Red, map.Colors[i].Green, map.Colors[i].Blue});
    }
    return palette;
}

// The rows of an interlaced image arrive in four passes: every 8th row from 0, every 8th
// from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

Status DrawImage(GifFileType* gif, Bitmap& picture) {
    const GifImageDesc& image = gif->Image;
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.Width));
    const int left = image.Left;
    const int visible = std::clamp(picture.Width() - left, 0, image.Width);
    for (const int y : RowOrder(image.Height, image.Interlace)) {
        if (DGifGetLine(gif, line.data(), image.Width) == GIF_ERROR) {
            return GifError(gif->Error);
        }
        const int row = image.Top + y;
        if (row < picture.Height() && visible > 0) {
            std::copy_n(line.begin(), visible, picture.Row(row).begin() + left);
        }
    }
    return Success();
}

}  // namespace

Result<Bitmap> DecodeGif(std::span<const std::uint8_t> data) {
    Reader reader{data};
    int openError = 0;
    GifHandle gif(DGifOpen(&reader, ReadBytes, &openError));
    if (!gif) {
        return GifError(openError);
    }
    if (gif->SWidth <= 0 || gif->SHeight <= 0) {
        return GifError("empty screen");
    }
    if (Status allowed = CheckPictureSize(gif->SWidth, gif->SHeight); !allowed) {
        return allowed.error();
    }
    if (Status found = SkipToFirstImage(gif.get()); !found) {
        return found.error();
    }
    const GifImageDesc& image = gif->Image;
    if (image.Width <= 0 || image.Height <= 0) {
        return GifError("empty image");
    }
    if (Status allowed = CheckPictureSize(image.Width, image.Height); !allowed) {
        return allowed.error();
    }
    const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
    if (map == nullptr || map->ColorCount <= 0) {
        return GifError("no colour map");
    }

    Result<Bitmap> picture = Bitmap::Create(gif->SWidth, gif->SHeight, PixelFormat::Indexed8);
    if (!picture) {
        return picture.error();
    }
    picture->SetPalette(PaletteOf(*map));
    const int background = gif->SBackGroundColor < map->ColorCount ? gif->SBackGroundColor : 0;
    for (int y = 0; y < picture->Height(); ++y) {
        std::ranges::fill(picture->Row(y), static_cast<std::uint8_t>(background));
    }
    if (Status drawn = DrawImage(gif.get(), *picture); !drawn) {
        return drawn.error();
    }
    return picture;
}

}  // namespace oplix
