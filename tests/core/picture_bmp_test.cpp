#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "picture_test_support.h"
#include "storage/BmpDecoder.h"

// The fixtures name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace oplix {
namespace {

using testing_pictures::BmpFixture;
using testing_pictures::BuildBmp;
using testing_pictures::PaddedRows;

const std::vector<Rgb> kFourColours = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

std::vector<Rgb> Grays(int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 16);
        palette.push_back({level, level, level});
    }
    return palette;
}

Bitmap Decoded(const BmpFixture& fixture) {
    Result<Bitmap> picture = DecodeBmp(BuildBmp(fixture));
    EXPECT_TRUE(picture.ok()) << (picture.ok() ? "" : picture.error().message);
    return picture.ok() ? std::move(picture).value() : Bitmap();
}

std::vector<int> Indices(const Bitmap& picture, int y) {
    const auto row = picture.Row(y);
    return std::vector<int>(row.begin(), row.end());
}

TEST(BmpDecoder, IndexedDepthsUnpackPaddedBottomUpRows) {
    const std::vector<int> top = {3, 1, 2, 0, 1};
    const std::vector<int> bottom = {0, 0, 3, 3, 2};
    const struct {
        std::uint16_t bits;
        std::vector<Bytes> storedRows;  // bottom row first
    } cases[] = {
        {4, {{0x00, 0x33, 0x20}, {0x31, 0x20, 0x10}}},
        {8, {{0, 0, 3, 3, 2}, {3, 1, 2, 0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        BmpFixture fixture{.width = 5, .height = 2, .bits = c.bits, .palette = kFourColours};
        fixture.pixels = PaddedRows(c.storedRows);
        const Bitmap picture = Decoded(fixture);
        ASSERT_EQ(picture.Format(), PixelFormat::Indexed8);
        ASSERT_EQ(picture.Width(), 5);
        ASSERT_EQ(picture.Height(), 2);
        EXPECT_EQ(picture.Palette(), kFourColours);
        EXPECT_EQ(Indices(picture, 0), top);
        EXPECT_EQ(Indices(picture, 1), bottom);
    }

    BmpFixture mono{.width = 10, .height = 2, .bits = 1, .palette = {{0, 0, 0}, {255, 255, 255}}};
    mono.pixels = PaddedRows({{0x98, 0x40}, {0x68, 0x80}});
    const Bitmap picture = Decoded(mono);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{0, 1, 1, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Indices(picture, 1), (std::vector<int>{1, 0, 0, 1, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(picture.PixelRgb(1, 0), (Rgb{255, 255, 255}));
}

TEST(BmpDecoder, PaletteSizeFollowsTheColourCountWithinBounds) {
    const struct {
        std::string name;
        std::uint16_t bits;
        std::vector<Rgb> written;
        std::optional<std::uint32_t> colorsUsed;
        std::optional<std::uint32_t> dataOffset;
        std::size_t expected;
    } cases[] = {
        {"count 0 means 2^bits", 4, Grays(16), 0, {}, 16},
        {"count below 2^bits", 4, Grays(3), 3, {}, 3},
        {"count above 2^bits", 1, Grays(2), 300, {}, 2},
        {"count of all ones", 8, Grays(5), 0xFFFFFFFF, {}, 5},  // cut at the pixel data
        {"pixel data offset inside the palette", 8, Grays(6), 0, 14 + 40 + 4 * 4, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFixture fixture{.width = 2, .height = 1, .bits = c.bits, .palette = c.written};
        fixture.colorsUsed = c.colorsUsed;
        fixture.dataOffset = c.dataOffset;
        fixture.pixels = PaddedRows({{0x00, 0x00}});
        EXPECT_EQ(Decoded(fixture).Palette().size(), c.expected);
    }
}

TEST(BmpDecoder, IndexPastThePaletteShowsBlack) {
    BmpFixture fixture{.width = 2, .height = 1, .bits = 4, .palette = {{9, 9, 9}, {200, 100, 50}}};
    fixture.pixels = PaddedRows({{0x1F}});
    const Bitmap picture = Decoded(fixture);
    EXPECT_EQ(picture.PixelRgb(0, 0), (Rgb{200, 100, 50}));
    EXPECT_EQ(picture.Row(0)[1], 15);
    EXPECT_EQ(picture.PixelRgb(1, 0), Rgb{});
}

TEST(BmpDecoder, DirectColourDepthsAndMasks) {
    const struct {
        std::string name;
        std::uint32_t headerSize;
        std::uint16_t bits;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        Bytes row;  // two pixels
        Rgb first;
        Rgb second;
    } cases[] = {
        {"16 bits 5-5-5", 40, 16, 0, {}, {0x00, 0x7C, 0x10, 0x42}, {255, 0, 0}, {132, 132, 132}},
        {"16 bits 5-6-5",
         40,
         16,
         3,
         {0xF800, 0x07E0, 0x001F},
         {0xE0, 0x07, 0x10, 0x84},
         {0, 255, 0},
         {132, 130, 132}},
        {"24 bits", 40, 24, 0, {}, {0x01, 0x02, 0x03, 0xFF, 0x80, 0x00}, {3, 2, 1}, {0, 128, 255}},
        {"32 bits", 40, 32, 0, {}, {1, 2, 3, 0xAA, 4, 5, 6, 0xBB}, {3, 2, 1}, {6, 5, 4}},
        {"32 bits, bytes in RGBA order",
         40,
         32,
         3,
         {0x000000FF, 0x0000FF00, 0x00FF0000},
         {1, 2, 3, 0xAA, 4, 5, 6, 0xBB},
         {1, 2, 3},
         {4, 5, 6}},
        {"32 bits, 10 bits a channel, masks in a 124-byte header",
         124,
         32,
         3,
         {0x3FF00000, 0x000FFC00, 0x000003FF},
         {0x00, 0x00, 0xF0, 0x3F, 0x00, 0x00, 0x08, 0x00},
         {255, 0, 0},
         {0, 128, 0}},
        {"16 bits, masks in a 108-byte header",
         108,
         16,
         3,
         {0xF800, 0x07E0, 0x001F},
         {0x1F, 0x00, 0x00, 0xF8},
         {0, 0, 255},
         {255, 0, 0}},
        {"24 bits in a 124-byte header", 124, 24, 0, {}, {0, 0, 9, 0, 9, 0}, {9, 0, 0}, {0, 9, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFixture fixture{.headerSize = c.headerSize,
                           .width = 2,
                           .height = 1,
                           .bits = c.bits,
                           .compression = c.compression,
                           .masks = c.masks};
        fixture.pixels = PaddedRows({c.row});
        const Bitmap picture = Decoded(fixture);
        ASSERT_EQ(picture.Format(), PixelFormat::Rgb24);
        ASSERT_EQ(picture.Width(), 2);
        EXPECT_EQ(picture.PixelRgb(0, 0), c.first);
        EXPECT_EQ(picture.PixelRgb(1, 0), c.second);
    }
}

TEST(BmpDecoder, PositiveHeightIsBottomUpNegativeIsTopDown) {
    const Bytes rows = PaddedRows({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
    BmpFixture fixture{.width = 1, .height = 3, .bits = 24, .pixels = rows};
    const Bitmap bottomUp = Decoded(fixture);
    fixture.height = -3;
    const Bitmap topDown = Decoded(fixture);
    ASSERT_EQ(topDown.Height(), 3);
    for (int y = 0; y < 3; ++y) {
        const auto first = static_cast<std::uint8_t>(y + 1);
        const auto last = static_cast<std::uint8_t>(3 - y);
        EXPECT_EQ(topDown.PixelRgb(0, y), (Rgb{first, first, first}));
        EXPECT_EQ(bottomUp.PixelRgb(0, y), (Rgb{last, last, last}));
    }
}

TEST(BmpDecoder, CoreHeaderHasThreeBytePaletteEntries) {
    BmpFixture fixture{.headerSize = 12, .width = 3, .height = 1, .bits = 1};
    fixture.palette = {{10, 20, 30}, {40, 50, 60}};
    fixture.pixels = PaddedRows({{0xA0}});
    const Bitmap picture = Decoded(fixture);
    EXPECT_EQ(picture.Palette(), fixture.palette);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{1, 0, 1}));

    BmpFixture colour{.headerSize = 12, .width = 1, .height = 2, .bits = 24};
    colour.pixels = PaddedRows({{1, 2, 3}, {4, 5, 6}});
    const Bitmap rgb = Decoded(colour);
    EXPECT_EQ(rgb.PixelRgb(0, 0), (Rgb{6, 5, 4}));
    EXPECT_EQ(rgb.PixelRgb(0, 1), (Rgb{3, 2, 1}));
}

TEST(BmpDecoder, PixelDataOffsetIsHonouredWhenPlausible) {
    BmpFixture fixture{.width = 1, .height = 1, .bits = 8, .palette = kFourColours};
    fixture.gapBeforePixels = {2, 2, 2, 2};
    fixture.pixels = PaddedRows({{3}});
    EXPECT_EQ(Decoded(fixture).Row(0)[0], 3);  // the gap is skipped

    for (std::uint32_t offset : {0u, 20u, 0xFFFFFFFFu}) {  // before the palette, beyond the end
        SCOPED_TRACE(offset);
        fixture.dataOffset = offset;
        EXPECT_EQ(Decoded(fixture).Row(0)[0], 2);  // the gap is read as pixels
    }
}

Bitmap DecodedRle(std::uint16_t bits, int width, int height, const Bytes& stream) {
    BmpFixture fixture{.width = width,
                       .height = height,
                       .bits = bits,
                       .compression = bits == 8 ? 1u : 2u,
                       .palette = Grays(16),
                       .pixels = stream};
    return Decoded(fixture);
}

TEST(BmpDecoder, Rle8RunsLiteralsDeltaAndEscapes) {
    const Bytes stream = {
        0x03, 0x01, 0x00, 0x00,              // bottom row: run of 3, end of line
        0x00, 0x03, 0x02, 0x03, 0x01, 0x00,  // literal of 3, padded
        0x01, 0x02, 0x00, 0x00,              // run of 1, end of line
        0x00, 0x02, 0x02, 0x00, 0x05, 0x03,  // delta right 2, run past the right edge
        0x00, 0x01,                          // end of the picture
    };
    const Bitmap picture = DecodedRle(8, 4, 3, stream);
    ASSERT_EQ(picture.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{0, 0, 3, 3}));
    EXPECT_EQ(Indices(picture, 1), (std::vector<int>{2, 3, 1, 2}));
    EXPECT_EQ(Indices(picture, 2), (std::vector<int>{1, 1, 1, 0}));

    const Bytes upward = {0x00, 0x02, 0x01, 0x02, 0x01, 0x07, 0x00, 0x01};
    const Bitmap moved = DecodedRle(8, 3, 3, upward);
    EXPECT_EQ(Indices(moved, 0), (std::vector<int>{0, 7, 0}));
    EXPECT_EQ(Indices(moved, 1), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Indices(moved, 2), (std::vector<int>{0, 0, 0}));
}

TEST(BmpDecoder, Rle4AlternatesNibbles) {
    const Bytes stream = {
        0x05, 0x12, 0x00, 0x00,              // bottom row: 1 2 1 2 1
        0x00, 0x03, 0x89, 0xA0,              // literal of 3 in 2 bytes: no padding
        0x02, 0xBC, 0x00, 0x00,              // run of 2: 11 12
        0x00, 0x05, 0x34, 0x56, 0x70, 0x00,  // literal of 5 in 3 bytes, padded
        0x00, 0x01,
    };
    const Bitmap picture = DecodedRle(4, 5, 3, stream);
    EXPECT_EQ(Indices(picture, 0), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(Indices(picture, 1), (std::vector<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(Indices(picture, 2), (std::vector<int>{1, 2, 1, 2, 1}));
}

TEST(BmpDecoder, RleEndsWithTheLastRowOrFailsWhenCutShort) {
    const Bytes complete = {0x02, 0x05, 0x00, 0x00, 0x02, 0x06, 0x00, 0x00};  // no end marker
    EXPECT_EQ(Indices(DecodedRle(8, 2, 2, complete), 0), (std::vector<int>{6, 6}));

    const Bytes cutShort[] = {
        {0x02, 0x05, 0x00, 0x00},        // a row is missing
        {0x02, 0x05, 0x00, 0x00, 0x02},  // half a pair
        {0x00, 0x04, 0x01, 0x02, 0x03},  // literal cut
        {0x00, 0x02, 0x01},              // delta cut
        {},
    };
    for (const Bytes& stream : cutShort) {
        BmpFixture fixture{
            .width = 2, .height = 2, .bits = 8, .compression = 1, .palette = Grays(4)};
        fixture.pixels = stream;
        EXPECT_FALSE(DecodeBmp(BuildBmp(fixture)).ok()) << stream.size() << " bytes";
    }
}

// Run-length data can describe any size in a few bytes, so these show the limits themselves.
TEST(BmpDecoder, SizesAreLimited) {
    const Bytes endOnly = {0x00, 0x01};
    const struct {
        std::int32_t width;
        std::int32_t height;
        bool allowed;
    } cases[] = {
        {16384, 1, true},    {16385, 1, false},
        {1, 16385, false},   {8192, 8192, true},
        {8193, 8193, false}, {std::numeric_limits<std::int32_t>::max(), 2, false},
    };
    for (const auto& c : cases) {
        BmpFixture fixture{.width = c.width,
                           .height = c.height,
                           .bits = 8,
                           .compression = 1,
                           .palette = Grays(2),
                           .pixels = endOnly};
        const Result<Bitmap> picture = DecodeBmp(BuildBmp(fixture));
        EXPECT_EQ(picture.ok(), c.allowed) << c.width << " x " << c.height;
        if (picture.ok()) {
            EXPECT_EQ(picture->Width(), c.width);
            EXPECT_EQ(picture->Height(), c.height);
        }
    }
}

TEST(BmpDecoder, DamagedOrUnsupportedFilesFail) {
    const BmpFixture good{.width = 3, .height = 2, .bits = 24, .pixels = Bytes(24, 0x40)};
    ASSERT_TRUE(DecodeBmp(BuildBmp(good)).ok());
    BmpFixture noLastPadding = good;
    noLastPadding.pixels.resize(21);
    EXPECT_TRUE(DecodeBmp(BuildBmp(noLastPadding)).ok());

    const struct {
        std::string name;
        void (*change)(BmpFixture&);
    } cases[] = {
        {"pixel data a byte short", [](BmpFixture& s) { s.pixels.resize(20); }},
        {"no pixel data", [](BmpFixture& s) { s.pixels.clear(); }},
        {"height INT32_MIN", [](BmpFixture& s) { s.height = std::numeric_limits<int32_t>::min(); }},
        {"negative width", [](BmpFixture& s) { s.width = -3; }},
        {"width 0", [](BmpFixture& s) { s.width = 0; }},
        {"height 0", [](BmpFixture& s) { s.height = 0; }},
        {"2 bits", [](BmpFixture& s) { s.bits = 2; }},
        {"0 bits", [](BmpFixture& s) { s.bits = 0; }},
        {"JPEG inside", [](BmpFixture& s) { s.compression = 4; }},
        {"bit fields with 24 bits", [](BmpFixture& s) { s.compression = 3; }},
        {"RLE8 with 24 bits", [](BmpFixture& s) { s.compression = 1; }},
        {"RLE top-down",
         [](BmpFixture& s) {
             s = {.width = 2, .height = -2, .bits = 8, .compression = 1, .palette = Grays(2)};
             s.pixels = {0x00, 0x01};
         }},
        {"palette cut short",
         [](BmpFixture& s) {
             s = {.width = 1, .height = 1, .bits = 8, .palette = Grays(4), .colorsUsed = 200};
             s.dataOffset = 0;
         }},
        {"no palette",
         [](BmpFixture& s) {
             s = {.width = 1, .height = 1, .bits = 8, .pixels = {0, 0, 0, 0}};
         }},
        {"unknown header size", [](BmpFixture& s) { s.headerSize = 0xFFFFFFF0; }},
    };
    for (const auto& c : cases) {
        BmpFixture fixture = good;
        c.change(fixture);
        EXPECT_FALSE(DecodeBmp(BuildBmp(fixture)).ok()) << c.name;
    }

    Bytes file = BuildBmp(good);
    EXPECT_FALSE(DecodeBmp(std::span(file).first(30)).ok()) << "header cut short";
    EXPECT_FALSE(DecodeBmp(std::span(file).first(2)).ok()) << "only the magic";
    BmpFixture bitFields{.width = 1, .height = 1, .bits = 16, .compression = 3};
    Bytes masksCut = BuildBmp(bitFields);  // a 40-byte header without its masks
    EXPECT_FALSE(DecodeBmp(masksCut).ok()) << "masks cut short";
    file[0] = 'M';
    EXPECT_FALSE(DecodeBmp(file).ok()) << "no magic";
    EXPECT_FALSE(DecodeBmp({}).ok()) << "empty";
}

}  // namespace
}  // namespace oplix
