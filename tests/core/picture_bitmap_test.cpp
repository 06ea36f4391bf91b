#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

#include "storage/Bitmap.h"
#include "storage/PictureDrawing.h"
#include "storage/PictureLimits.h"

namespace oplix {
namespace {

Bitmap MakeBitmap(int width, int height, PixelFormat format) {
    Result<Bitmap> bitmap = Bitmap::Create(width, height, format);
    EXPECT_TRUE(bitmap.ok());
    return bitmap.ok() ? std::move(bitmap).value() : Bitmap();
}

void SetRgb(Bitmap& bitmap, int x, int y, Rgb colour) {
    auto row = bitmap.Row(y);
    row[x * 3] = colour.r;
    row[x * 3 + 1] = colour.g;
    row[x * 3 + 2] = colour.b;
}

TEST(PictureLimits, BoundsOnSidesAndPixelCount) {
    constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t width;
        std::int64_t height;
        bool allowed;
    } cases[] = {
        {0, 0, true},
        {16384, 1, true},
        {1, 16384, true},
        {16385, 1, false},
        {1, 16385, false},
        {16384, 4096, true},  // exactly 64 Mi pixels
        {16384, 4097, false},
        {8192, 8192, true},
        {8193, 8193, false},
        {-1, 1, false},
        {1, -1, false},
        {kHuge, kHuge, false},  // the product would overflow
        {std::int64_t{1} << 32, 1, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PictureSizeAllowed(c.width, c.height), c.allowed) << c.width << " x " << c.height;
        EXPECT_EQ(CheckPictureSize(c.width, c.height).ok(), c.allowed);
    }
}

TEST(Bitmap, DefaultIsEmptyRgb24AndSizesAreGuarded) {
    Bitmap bitmap;
    EXPECT_EQ(bitmap.Format(), PixelFormat::Rgb24);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);

    ASSERT_TRUE(bitmap.SetSize(5, 2).ok());
    EXPECT_EQ(bitmap.RowBytes(), 15u);
    EXPECT_EQ(bitmap.PixelRgb(4, 1), Rgb{});

    for (auto [width, height] : {std::pair{16385, 1}, {8193, 8193}, {-5, 2}}) {
        EXPECT_FALSE(bitmap.SetSize(width, height).ok()) << width << " x " << height;
        EXPECT_EQ(bitmap.Width(), 5);
        EXPECT_EQ(bitmap.Height(), 2);
        EXPECT_FALSE(Bitmap::Create(width, height, PixelFormat::Indexed8).ok());
    }
}

TEST(Bitmap, RowsAreContiguousTopToBottom) {
    Bitmap bitmap = MakeBitmap(3, 2, PixelFormat::Rgb24);
    SetRgb(bitmap, 2, 0, {1, 2, 3});
    SetRgb(bitmap, 0, 1, {4, 5, 6});
    EXPECT_EQ(bitmap.Row(1).data(), bitmap.Row(0).data() + 9);
    EXPECT_EQ(bitmap.PixelRgb(2, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(bitmap.PixelRgb(0, 1), (Rgb{4, 5, 6}));
    EXPECT_EQ(bitmap.PixelRgb(1, 0), Rgb{});
}

TEST(Bitmap, HalftonePaletteIsTheColourCubeAndGrays) {
    const std::vector<Rgb>& palette = HalftonePalette();
    ASSERT_EQ(palette.size(), 256u);
    std::set<std::tuple<int, int, int>> distinct;
    for (const Rgb& c : palette) {
        distinct.insert({c.r, c.g, c.b});
    }
    EXPECT_EQ(distinct.size(), 256u);
    EXPECT_EQ(palette[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(palette[215], (Rgb{255, 255, 255}));
    EXPECT_EQ(palette[2 * 36 + 3 * 6 + 5], (Rgb{102, 153, 255}));
    for (std::size_t i = 216; i < 256; ++i) {
        EXPECT_EQ(palette[i].r, palette[i].g);
        EXPECT_EQ(palette[i].g, palette[i].b);
        EXPECT_GT(palette[i].r, i == 216 ? 0 : palette[i - 1].r);
    }
}

TEST(Bitmap, IndexedWithoutPaletteGetsHalftone) {
    EXPECT_EQ(MakeBitmap(1, 1, PixelFormat::Indexed8).Palette(), HalftonePalette());

    Bitmap own = MakeBitmap(1, 1, PixelFormat::Rgb24);
    own.SetPalette({{9, 9, 9}, {200, 0, 0}});
    own.SetFormat(PixelFormat::Indexed8);
    EXPECT_EQ(own.Palette().size(), 2u);

    std::vector<Rgb> tooMany(300, Rgb{1, 1, 1});
    own.SetPalette(tooMany);
    EXPECT_EQ(own.Palette().size(), 256u);
}

TEST(Bitmap, ToIndexedTakesTheNearestEntry) {
    Bitmap bitmap = MakeBitmap(4, 1, PixelFormat::Rgb24);
    SetRgb(bitmap, 0, 0, {102, 153, 255});  // exactly a cube entry
    SetRgb(bitmap, 1, 0, {250, 5, 3});      // near red
    SetRgb(bitmap, 2, 0, {128, 128, 128});  // between cube grays: the nearest added gray
    SetRgb(bitmap, 3, 0, {250, 5, 3});      // again, as the cache answers
    bitmap.SetFormat(PixelFormat::Indexed8);
    ASSERT_EQ(bitmap.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(bitmap.RowBytes(), 4u);
    EXPECT_EQ(bitmap.Row(0)[0], 2 * 36 + 3 * 6 + 5);
    EXPECT_EQ(bitmap.Row(0)[1], 5 * 36);
    EXPECT_EQ(bitmap.PixelRgb(2, 0), (Rgb{130, 130, 130}));  // 21 * 255 / 41
    EXPECT_EQ(bitmap.Row(0)[3], 5 * 36);

    Bitmap twoColours = MakeBitmap(2, 1, PixelFormat::Rgb24);
    SetRgb(twoColours, 0, 0, {10, 10, 10});
    SetRgb(twoColours, 1, 0, {255, 255, 0});
    twoColours.SetPalette({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}});
    twoColours.SetFormat(PixelFormat::Indexed8);
    EXPECT_EQ(twoColours.Row(0)[0], 0);
    EXPECT_EQ(twoColours.Row(0)[1], 1);  // red and green are equally near: the first wins
}

TEST(Bitmap, NearestEntryAgreesWithAFullSearch) {
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(seed >> 23);
    };
    std::vector<Rgb> palette;
    for (int i = 0; i < 40; ++i) {
        palette.push_back({next(), next(), next()});
    }
    palette.push_back(palette[3]);  // a repeated entry: the first of the two is found
    palette.push_back({palette[5].r, next(), palette[5].b});  // same red and blue, other green

    constexpr int kPixels = 3000;
    Bitmap bitmap = MakeBitmap(kPixels, 1, PixelFormat::Rgb24);
    for (int x = 0; x < kPixels; ++x) {
        SetRgb(bitmap, x, 0, {next(), next(), next()});
    }
    const Bitmap original = bitmap;
    bitmap.SetPalette(palette);
    bitmap.SetFormat(PixelFormat::Indexed8);
    for (int x = 0; x < kPixels; ++x) {
        const Rgb colour = original.PixelRgb(x, 0);
        std::size_t best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const int dr = palette[i].r - colour.r;
            const int dg = palette[i].g - colour.g;
            const int db = palette[i].b - colour.b;
            if (dr * dr + dg * dg + db * db < bestDistance) {
                bestDistance = dr * dr + dg * dg + db * db;
                best = i;
            }
        }
        ASSERT_EQ(bitmap.Row(0)[x], best) << "pixel " << x;
    }
}

TEST(Bitmap, ToRgbLooksIndicesUpAndMissingEntriesAreBlack) {
    Bitmap bitmap = MakeBitmap(3, 1, PixelFormat::Indexed8);
    bitmap.SetPalette({{10, 20, 30}, {40, 50, 60}});
    bitmap.Row(0)[0] = 1;
    bitmap.Row(0)[1] = 0;
    bitmap.Row(0)[2] = 7;  // no such entry
    EXPECT_EQ(bitmap.PixelRgb(2, 0), Rgb{});
    bitmap.SetFormat(PixelFormat::Rgb24);
    EXPECT_EQ(bitmap.PixelRgb(0, 0), (Rgb{40, 50, 60}));
    EXPECT_EQ(bitmap.PixelRgb(1, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(bitmap.PixelRgb(2, 0), Rgb{});
}

TEST(DrawPicture, TargetTakesThePictureSizeAndKeepsItsFormat) {
    Bitmap indexed = MakeBitmap(2, 1, PixelFormat::Indexed8);
    indexed.SetPalette({{255, 0, 0}, {0, 0, 255}});
    indexed.Row(0)[0] = 1;
    indexed.Row(0)[1] = 0;
    Bitmap colour = MakeBitmap(1, 2, PixelFormat::Rgb24);
    SetRgb(colour, 0, 0, {0, 0, 250});
    SetRgb(colour, 0, 1, {255, 255, 255});

    {  // Rgb24 target, indexed picture: colours
        Bitmap target = MakeBitmap(7, 7, PixelFormat::Rgb24);
        DrawPicture(indexed, target);
        ASSERT_EQ(target.Format(), PixelFormat::Rgb24);
        ASSERT_EQ(target.Width(), 2);
        ASSERT_EQ(target.Height(), 1);
        EXPECT_EQ(target.PixelRgb(0, 0), (Rgb{0, 0, 255}));
        EXPECT_EQ(target.PixelRgb(1, 0), (Rgb{255, 0, 0}));
    }
    {  // indexed target, indexed picture: the picture's palette and indices
        Bitmap target = MakeBitmap(3, 3, PixelFormat::Indexed8);
        DrawPicture(indexed, target);
        ASSERT_EQ(target.Format(), PixelFormat::Indexed8);
        EXPECT_EQ(target.Palette(), indexed.Palette());
        EXPECT_EQ(target.Row(0)[0], 1);
        EXPECT_EQ(target.Row(0)[1], 0);
    }
    {  // indexed target with its own palette, colour picture: nearest entries of that palette
        Bitmap target = MakeBitmap(3, 3, PixelFormat::Indexed8);
        target.SetPalette({{0, 0, 0}, {255, 255, 255}, {0, 0, 255}});
        DrawPicture(colour, target);
        ASSERT_EQ(target.Format(), PixelFormat::Indexed8);
        ASSERT_EQ(target.Width(), 1);
        ASSERT_EQ(target.Height(), 2);
        EXPECT_EQ(target.Palette().size(), 3u);
        EXPECT_EQ(target.Row(0)[0], 2);
        EXPECT_EQ(target.Row(1)[0], 1);
    }
    {  // indexed target whose palette was emptied: the halftone palette
        Bitmap target = MakeBitmap(1, 1, PixelFormat::Indexed8);
        target.SetPalette({});
        DrawPicture(colour, target);
        EXPECT_EQ(target.Palette(), HalftonePalette());
        EXPECT_EQ(target.Row(0)[0], 5);  // the cube's blue
        EXPECT_EQ(target.Row(1)[0], 215);
    }
    {  // Rgb24 target, colour picture: copied
        Bitmap target;
        DrawPicture(colour, target);
        EXPECT_EQ(target.PixelRgb(0, 0), (Rgb{0, 0, 250}));
        EXPECT_EQ(target.PixelRgb(0, 1), (Rgb{255, 255, 255}));
    }
}

}  // namespace
}  // namespace oplix
