// The JPEG decoder on arbitrary input: it fails or gives a picture within the limits whose
// every pixel can be read; it never crashes nor allocates beyond the limits.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_picture_check.h"
#include "storage/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace oplix;
    const Result<Bitmap> picture = DecodeJpeg(std::span(data, size));
    if (picture.ok()) {
        fuzzing::CheckPicture(*picture, PixelFormat::Rgb24);
    }
    return 0;
}
