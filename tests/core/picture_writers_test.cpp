#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "storage/BmpDecoder.h"
#include "storage/BmpWriter.h"
#include "storage/GifDecoder.h"
#include "storage/GifWriter.h"
#include "storage/JpegDecoder.h"
#include "storage/JpegWriter.h"

namespace oplix {
namespace {

// A colour that differs for every pixel of a small picture, so a flipped, shifted or
// channel-swapped picture does not read back equal.
Rgb PatternColour(int x, int y) {
    return {static_cast<std::uint8_t>(x * 37 + 11), static_cast<std::uint8_t>(y * 53 + 7),
            static_cast<std::uint8_t>((x + y) * 19 + 101)};
}

Bitmap RgbPattern(int width, int height) {
    Bitmap picture = Bitmap::Create(width, height, PixelFormat::Rgb24).value();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = PatternColour(x, y);
            auto row = picture.Row(y);
            row[x * 3] = c.r;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.b;
        }
    }
    return picture;
}

Bitmap IndexedPattern(int width, int height, std::vector<Rgb> palette, int indices) {
    Bitmap picture = Bitmap::Create(width, height, PixelFormat::Indexed8).value();
    picture.SetPalette(std::move(palette));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.Row(y)[x] = static_cast<std::uint8_t>((x + 3 * y) % indices);
        }
    }
    return picture;
}

const std::vector<Rgb> kThreeColours = {{200, 30, 40}, {20, 180, 60}, {250, 250, 240}};

void ExpectSamePixels(const Bitmap& actual, const Bitmap& expected) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            ASSERT_EQ(actual.PixelRgb(x, y), expected.PixelRgb(x, y)) << x << ", " << y;
        }
    }
}

void ExpectSameIndices(const Bitmap& actual, const Bitmap& expected) {
    ASSERT_EQ(actual.Format(), PixelFormat::Indexed8);
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y) {
        const auto a = actual.Row(y);
        const auto e = expected.Row(y);
        ASSERT_TRUE(std::equal(a.begin(), a.end(), e.begin(), e.end())) << "row " << y;
    }
}

// ---- JPEG ---------------------------------------------------------------------------------

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// Four flat 8 x 8 quadrants, so that the blocks carry no edges and lossy coding stays close.
Bitmap Quadrants(PixelFormat format) {
    Bitmap picture = IndexedPattern(16, 16, kThreeColours, 1);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.Row(y)[x] = static_cast<std::uint8_t>(y < 8 ? (x < 8 ? 0 : 1) : 2);
        }
    }
    picture.SetFormat(format);
    return picture;
}

TEST(JpegWriter, RgbAndIndexedPicturesDecodeToTheirColours) {
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Indexed8}) {
        SCOPED_TRACE(format == PixelFormat::Rgb24 ? "Rgb24" : "Indexed8");
        const Bitmap picture = Quadrants(format);
        const Result<Bytes> jpeg = WriteJpeg(picture, 95);
        ASSERT_TRUE(jpeg.ok()) << jpeg.error().message;
        const Result<Bitmap> decoded = DecodeJpeg(*jpeg);
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        ASSERT_EQ(decoded->Width(), 16);
        ASSERT_EQ(decoded->Height(), 16);
        for (auto [x, y] : {std::pair{3, 3}, {12, 3}, {3, 12}, {12, 12}}) {
            EXPECT_TRUE(Near(decoded->PixelRgb(x, y), picture.PixelRgb(x, y), 8)) << x << ", " << y;
        }
    }
}

TEST(JpegWriter, LowerQualityGivesASmallerFile) {
    const Bitmap picture = RgbPattern(64, 48);
    const Result<Bytes> low = WriteJpeg(picture, 10);
    const Result<Bytes> high = WriteJpeg(picture, 100);
    ASSERT_TRUE(low.ok() && high.ok());
    EXPECT_LT(low->size(), high->size());
    // Fine detail survives the best quality closely.
    const Result<Bitmap> decoded = DecodeJpeg(*high);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_TRUE(Near(decoded->PixelRgb(40, 30), picture.PixelRgb(40, 30), 16));
}

TEST(JpegWriter, LargePictureGrowsTheOutput) {
    // Noise does not compress, so the output passes the first buffer several times over.
    Bitmap picture = Bitmap::Create(400, 300, PixelFormat::Rgb24).value();
    std::uint32_t seed = 1;
    for (int y = 0; y < picture.Height(); ++y) {
        for (std::uint8_t& sample : picture.Row(y)) {
            seed = seed * 1103515245u + 12345u;
            sample = static_cast<std::uint8_t>(seed >> 24);
        }
    }
    const Result<Bytes> jpeg = WriteJpeg(picture, 100);
    ASSERT_TRUE(jpeg.ok()) << jpeg.error().message;
    EXPECT_GT(jpeg->size(), 200u * 1024);
    const Result<Bitmap> decoded = DecodeJpeg(*jpeg);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(decoded->Width(), 400);
    EXPECT_EQ(decoded->Height(), 300);
}

TEST(JpegWriter, RefusesQualityOutsideTheScaleAndEmptyPictures) {
    const Bitmap picture = RgbPattern(4, 4);
    for (int quality : {0, -5, 101}) {
        EXPECT_FALSE(WriteJpeg(picture, quality).ok()) << quality;
    }
    EXPECT_TRUE(WriteJpeg(picture, 1).ok());
    EXPECT_FALSE(WriteJpeg(Bitmap(), 90).ok());
    EXPECT_FALSE(WriteJpeg(Bitmap::Create(0, 5, PixelFormat::Rgb24).value(), 90).ok());
}

// ---- GIF ----------------------------------------------------------------------------------

TEST(GifWriter, IndexedPictureKeepsIndicesAndPalette) {
    const Bitmap picture = IndexedPattern(13, 7, kThreeColours, 3);
    const Result<Bytes> gif = WriteGif(picture);
    ASSERT_TRUE(gif.ok()) << gif.error().message;
    const Result<Bitmap> decoded = DecodeGif(*gif);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    ExpectSameIndices(*decoded, picture);
    // The map is padded to a power of two.
    ASSERT_EQ(decoded->Palette().size(), 4u);
    EXPECT_TRUE(std::equal(kThreeColours.begin(), kThreeColours.end(), decoded->Palette().begin()));
}

TEST(GifWriter, IndexWithoutPaletteEntryStaysBlack) {
    // Indices 0 to 4 over a palette of three entries.
    const Bitmap picture = IndexedPattern(5, 5, kThreeColours, 5);
    const Result<Bytes> gif = WriteGif(picture);
    ASSERT_TRUE(gif.ok()) << gif.error().message;
    const Result<Bitmap> decoded = DecodeGif(*gif);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    ExpectSameIndices(*decoded, picture);
    ExpectSamePixels(*decoded, picture);
    EXPECT_EQ(decoded->PixelRgb(4, 0), (Rgb{0, 0, 0}));
}

TEST(GifWriter, RgbPictureWithFewColoursGetsAPaletteOfThem) {
    struct Case {
        int width, height;
    };
    // 16 x 16 has exactly 256 distinct colours, the most a GIF can hold.
    for (Case c : {Case{1, 1}, Case{7, 3}, Case{16, 16}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        Bitmap picture = Bitmap::Create(c.width, c.height, PixelFormat::Rgb24).value();
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                auto row = picture.Row(y);
                row[x * 3] = static_cast<std::uint8_t>(x * 16);
                row[x * 3 + 1] = static_cast<std::uint8_t>(y * 16);
                row[x * 3 + 2] = 77;
            }
        }
        const Result<Bytes> gif = WriteGif(picture);
        ASSERT_TRUE(gif.ok()) << gif.error().message;
        const Result<Bitmap> decoded = DecodeGif(*gif);
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        ExpectSamePixels(*decoded, picture);
    }
}

TEST(GifWriter, RefusesManyColoursAndEmptyPictures) {
    Bitmap picture = Bitmap::Create(257, 1, PixelFormat::Rgb24).value();
    for (int x = 0; x < 257; ++x) {
        picture.Row(0)[x * 3] = static_cast<std::uint8_t>(x);
        picture.Row(0)[x * 3 + 1] = static_cast<std::uint8_t>(x >> 8);
    }
    EXPECT_FALSE(WriteGif(picture).ok());
    EXPECT_FALSE(WriteGif(Bitmap()).ok());
    EXPECT_FALSE(WriteGif(Bitmap::Create(3, 0, PixelFormat::Indexed8).value()).ok());
}

// ---- BMP ----------------------------------------------------------------------------------

TEST(BmpWriter, RoundTripsEveryRowPadding) {
    // Widths 1 to 4 need 1 to 4 bytes of padding in one of the two formats.
    for (int width : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        const Bitmap rgb = RgbPattern(width, 3);
        const Result<Bytes> rgbFile = WriteBmp(rgb);
        ASSERT_TRUE(rgbFile.ok()) << rgbFile.error().message;
        const Result<Bitmap> rgbRead = DecodeBmp(*rgbFile);
        ASSERT_TRUE(rgbRead.ok()) << rgbRead.error().message;
        EXPECT_EQ(rgbRead->Format(), PixelFormat::Rgb24);
        ExpectSamePixels(*rgbRead, rgb);
        EXPECT_EQ(rgbFile->size(), 54u + 3 * ((width * 3 + 3) / 4 * 4));

        const Bitmap indexed = IndexedPattern(width, 3, kThreeColours, 3);
        const Result<Bytes> indexedFile = WriteBmp(indexed);
        ASSERT_TRUE(indexedFile.ok()) << indexedFile.error().message;
        const Result<Bitmap> indexedRead = DecodeBmp(*indexedFile);
        ASSERT_TRUE(indexedRead.ok()) << indexedRead.error().message;
        ExpectSameIndices(*indexedRead, indexed);
        EXPECT_EQ(indexedRead->Palette(), kThreeColours);
    }
}

TEST(BmpWriter, IndexedPalettesCoverEveryIndex) {
    struct Case {
        std::vector<Rgb> palette;
        int indices;
        std::size_t expectedEntries;
    };
    const Case cases[] = {
        {kThreeColours, 5, 5},  // indices past the palette come back black
        {{}, 1, 1},             // a palette of one black entry, not "all 256"
    };
    for (const Case& c : cases) {
        const Bitmap picture = IndexedPattern(6, 2, c.palette, c.indices);
        const Result<Bytes> file = WriteBmp(picture);
        ASSERT_TRUE(file.ok()) << file.error().message;
        const Result<Bitmap> read = DecodeBmp(*file);
        ASSERT_TRUE(read.ok()) << read.error().message;
        ExpectSameIndices(*read, picture);
        ExpectSamePixels(*read, picture);
        EXPECT_EQ(read->Palette().size(), c.expectedEntries);
    }
}

TEST(BmpWriter, RefusesEmptyPictures) {
    EXPECT_FALSE(WriteBmp(Bitmap()).ok());
    EXPECT_FALSE(WriteBmp(Bitmap::Create(0, 2, PixelFormat::Indexed8).value()).ok());
}

}  // namespace
}  // namespace oplix
