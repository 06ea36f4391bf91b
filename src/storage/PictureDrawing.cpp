#include "storage/PictureDrawing.h"

#include <utility>

namespace oplix {

void DrawPicture(Bitmap picture, Bitmap& target) {
    const PixelFormat format = target.Format();
    if (format == PixelFormat::Indexed8 && picture.Format() == PixelFormat::Rgb24) {
        std::vector<Rgb> palette = target.Palette();
        picture.SetPalette(palette.empty() ? HalftonePalette() : std::move(palette));
    }
    picture.SetFormat(format);
    target = std::move(picture);
}

}  // namespace oplix
