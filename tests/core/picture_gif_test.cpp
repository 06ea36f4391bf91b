#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_test_support.h"
#include "storage/GifDecoder.h"

// The fixtures name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace oplix {
namespace {

using testing_pictures::EncodeGif;
using testing_pictures::GifFixture;
using testing_pictures::GifImage;
using testing_pictures::GifImageDescriptor;
using testing_pictures::SetU16;

const std::vector<Rgb> kGlobal = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
const std::vector<Rgb> kLocal = {{10, 10, 10}, {20, 20, 20}};

std::vector<int> Indices(const Bitmap& picture, int y) {
    const auto row = picture.Row(y);
    return std::vector<int>(row.begin(), row.end());
}

Bitmap Decoded(const Bytes& gif) {
    Result<Bitmap> picture = DecodeGif(gif);
    EXPECT_TRUE(picture.ok()) << (picture.ok() ? "" : picture.error().message);
    return picture.ok() ? std::move(picture).value() : Bitmap();
}

GifFixture FullScreen(int width, int height, Bytes pixels) {
    return {.width = width,
            .height = height,
            .globalMap = kGlobal,
            .images = {{.width = width, .height = height, .pixels = std::move(pixels)}}};
}

TEST(GifDecoder, FirstImageWithTheGlobalPalette) {
    GifFixture fixture = FullScreen(4, 2, {0, 1, 2, 3, 3, 2, 1, 0});
    fixture.comment = true;  // an extension before the image is skipped
    const Bitmap picture = Decoded(EncodeGif(fixture));
    ASSERT_EQ(picture.Format(), PixelFormat::Indexed8);
    ASSERT_EQ(picture.Width(), 4);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.Palette(), kGlobal);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Indices(picture, 1), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(picture.PixelRgb(1, 0), (Rgb{255, 0, 0}));
}

TEST(GifDecoder, LocalPaletteWinsAndLaterImagesAreIgnored) {
    GifFixture fixture = FullScreen(2, 1, {1, 0});
    fixture.images[0].localMap = kLocal;
    fixture.images.push_back({.width = 2, .height = 1, .pixels = {3, 3}});
    const Bitmap picture = Decoded(EncodeGif(fixture));
    EXPECT_EQ(picture.Palette(), kLocal);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{1, 0}));

    GifFixture localOnly = FullScreen(2, 1, {1, 1});
    localOnly.globalMap.clear();
    localOnly.images[0].localMap = kLocal;
    EXPECT_EQ(Decoded(EncodeGif(localOnly)).Palette(), kLocal);
}

TEST(GifDecoder, InterlacedRowsAreReordered) {
    Bytes pixels;
    for (int y = 0; y < 11; ++y) {
        pixels.insert(pixels.end(), {static_cast<std::uint8_t>(y % 4), 0});
    }
    GifFixture fixture = FullScreen(2, 11, pixels);
    fixture.images[0].interlaced = true;
    const Bytes gif = EncodeGif(fixture);
    ASSERT_NE(gif[GifImageDescriptor(gif) + 9] & 0x40, 0) << "the fixture is interlaced";
    const Bitmap picture = Decoded(gif);
    for (int y = 0; y < 11; ++y) {
        EXPECT_EQ(picture.Row(y)[0], y % 4) << "row " << y;
    }
}

TEST(GifDecoder, ImageAtItsOffsetOnTheBackground) {
    GifFixture fixture{.width = 4, .height = 3, .background = 2, .globalMap = kGlobal};
    fixture.images = {{.left = 1, .top = 1, .width = 2, .height = 1, .pixels = {1, 3}}};
    const Bitmap picture = Decoded(EncodeGif(fixture));
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{2, 2, 2, 2}));
    EXPECT_EQ(Indices(picture, 1), (std::vector<int>{2, 1, 3, 2}));
    EXPECT_EQ(Indices(picture, 2), (std::vector<int>{2, 2, 2, 2}));

    // An image reaching past the screen is clipped.
    fixture.images = {{.width = 2, .height = 2, .pixels = {1, 1, 1, 1}}};
    Bytes gif = EncodeGif(fixture);
    const std::size_t image = GifImageDescriptor(gif);
    SetU16(gif, image + 1, 3);  // left
    SetU16(gif, image + 3, 2);  // top
    const Bitmap clipped = Decoded(gif);
    EXPECT_EQ(Indices(clipped, 1), (std::vector<int>{2, 2, 2, 2}));
    EXPECT_EQ(Indices(clipped, 2), (std::vector<int>{2, 2, 2, 1}));

    // A background index past the palette becomes 0.
    fixture.background = 9;
    fixture.images = {{.left = 1, .width = 1, .height = 1, .pixels = {3}}};
    EXPECT_EQ(Indices(Decoded(EncodeGif(fixture)), 0), (std::vector<int>{0, 3, 0, 0}));
}

TEST(GifDecoder, SizesOutsideTheLimitsFail) {
    // The screen's size is the picture's: a tiny image may ask for a huge screen.
    const struct {
        int width;
        int height;
        bool allowed;
    } screens[] = {
        {16384, 1, true},    {16385, 1, false},     {1, 16385, false},
        {8193, 8193, false}, {65535, 65535, false},
    };
    for (const auto& c : screens) {
        GifFixture fixture = FullScreen(1, 1, {1});
        Bytes gif = EncodeGif(fixture);
        SetU16(gif, 6, static_cast<std::uint32_t>(c.width));
        SetU16(gif, 8, static_cast<std::uint32_t>(c.height));
        const Result<Bitmap> picture = DecodeGif(gif);
        EXPECT_EQ(picture.ok(), c.allowed) << c.width << " x " << c.height;
        if (picture.ok()) {
            EXPECT_EQ(picture->Width(), c.width);
            EXPECT_EQ(picture->Row(0)[0], 1);
        }
    }

    // An image beyond the limits, even on a small screen.
    Bytes gif = EncodeGif(FullScreen(1, 1, {1}));
    SetU16(gif, GifImageDescriptor(gif) + 5, 16385);
    EXPECT_FALSE(DecodeGif(gif).ok());
}

TEST(GifDecoder, DamagedOrIncompleteFilesFail) {
    Bytes pixels(64 * 16);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>((i * 7 + i / 64) % 4);
    }
    const Bytes gif = EncodeGif(FullScreen(64, 16, pixels));
    ASSERT_TRUE(DecodeGif(gif).ok());
    const std::size_t image = GifImageDescriptor(gif);

    GifFixture noMap = FullScreen(2, 1, {0, 1});
    noMap.globalMap.clear();
    GifFixture noImage = FullScreen(2, 1, {});
    noImage.images.clear();
    Bytes emptyScreen = gif;
    SetU16(emptyScreen, 6, 0);
    Bytes emptyImage = gif;
    SetU16(emptyImage, image + 5, 0);
    const struct {
        std::string name;
        Bytes data;
    } cases[] = {
        {"cut inside the image data", Bytes(gif.begin(), gif.begin() + image + 40)},
        {"cut after the image descriptor", Bytes(gif.begin(), gif.begin() + image + 10)},
        {"cut inside the palette", Bytes(gif.begin(), gif.begin() + 16)},
        {"only the signature", Bytes(gif.begin(), gif.begin() + 6)},
        {"no colour map", EncodeGif(noMap)},
        {"no image", EncodeGif(noImage)},
        {"screen 0 wide", emptyScreen},
        {"image 0 wide", emptyImage},
        {"not a GIF", Bytes(64, 'G')},
        {"empty", {}},
    };
    for (const auto& c : cases) {
        const Result<Bitmap> picture = DecodeGif(c.data);
        ASSERT_FALSE(picture.ok()) << c.name;
        EXPECT_FALSE(picture.error().message.empty()) << c.name;
    }
}

}  // namespace
}  // namespace oplix
