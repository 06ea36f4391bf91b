#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "picture_test_support.h"
#include "storage/JpegDecoder.h"

// The fixtures name only the fields they set; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace oplix {
namespace {

using testing_pictures::EncodeJpeg;
using testing_pictures::JpegFixture;
using testing_pictures::JpegSizeField;
using testing_pictures::QuadrantSamples;

constexpr Rgb kQuadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

::testing::AssertionResult Near(Rgb actual, Rgb expected, int tolerance = 12) {
    if (std::abs(actual.r - expected.r) <= tolerance &&
        std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b)
           << ") is not near (" << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b) << ")";
}

Bytes QuadrantJpeg(bool progressive, bool subsample = false) {
    JpegFixture fixture{.progressive = progressive, .subsample = subsample};
    return EncodeJpeg(fixture, QuadrantSamples(8, kQuadrants));
}

void ExpectQuadrants(const Bitmap& picture) {
    ASSERT_EQ(picture.Format(), PixelFormat::Rgb24);
    ASSERT_EQ(picture.Width(), 16);
    ASSERT_EQ(picture.Height(), 16);
    EXPECT_TRUE(Near(picture.PixelRgb(3, 3), kQuadrants[0]));
    EXPECT_TRUE(Near(picture.PixelRgb(12, 3), kQuadrants[1]));
    EXPECT_TRUE(Near(picture.PixelRgb(3, 12), kQuadrants[2]));
    EXPECT_TRUE(Near(picture.PixelRgb(12, 12), kQuadrants[3]));
}

TEST(JpegDecoder, BaselineAndProgressiveGiveRgbRows) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const Result<Bitmap> picture = DecodeJpeg(QuadrantJpeg(progressive));
        ASSERT_TRUE(picture.ok()) << picture.error().message;
        ExpectQuadrants(*picture);
    }
}

TEST(JpegDecoder, OddSizeWithSubsampledChroma) {
    JpegFixture fixture{.width = 17, .height = 9, .subsample = true};
    Bytes samples;
    for (int i = 0; i < 17 * 9; ++i) {
        samples.insert(samples.end(), {40, 120, 200});
    }
    const Result<Bitmap> picture = DecodeJpeg(EncodeJpeg(fixture, samples));
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    EXPECT_EQ(picture->Width(), 17);
    EXPECT_EQ(picture->Height(), 9);
    EXPECT_TRUE(Near(picture->PixelRgb(16, 8), {40, 120, 200}));
    EXPECT_TRUE(Near(picture->PixelRgb(0, 0), {40, 120, 200}));
}

TEST(JpegDecoder, GrayscaleBecomesEqualChannels) {
    JpegFixture fixture{.width = 8, .height = 8, .components = 1, .colorSpace = JCS_GRAYSCALE};
    const Result<Bitmap> picture = DecodeJpeg(EncodeJpeg(fixture, Bytes(64, 100)));
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    const Rgb pixel = picture->PixelRgb(4, 4);
    EXPECT_EQ(pixel.r, pixel.g);
    EXPECT_EQ(pixel.g, pixel.b);
    EXPECT_TRUE(Near(pixel, {100, 100, 100}, 3));
}

TEST(JpegDecoder, CmykInvertedWithAdobeMarkerAndPlainWithout) {
    // Ink for orange: no cyan, half magenta, full yellow, no black.
    const Bytes plainInk = {0, 128, 255, 0};
    const Bytes invertedInk = {255, 127, 0, 255};
    const struct {
        bool adobe;
        const Bytes& ink;
    } cases[] = {{true, invertedInk}, {false, plainInk}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.adobe ? "Adobe" : "plain");
        JpegFixture fixture{.width = 8, .height = 8, .components = 4, .colorSpace = JCS_CMYK};
        fixture.adobeMarker = c.adobe;
        Bytes samples;
        for (int i = 0; i < 64; ++i) {
            samples.insert(samples.end(), c.ink.begin(), c.ink.end());
        }
        const Result<Bitmap> picture = DecodeJpeg(EncodeJpeg(fixture, samples));
        ASSERT_TRUE(picture.ok()) << picture.error().message;
        EXPECT_TRUE(Near(picture->PixelRgb(2, 5), {255, 127, 0}, 4));
    }
}

TEST(JpegDecoder, SizesOutsideTheLimitsFailBeforeDecoding) {
    const Bytes jpeg = QuadrantJpeg(false);
    const std::size_t field = JpegSizeField(jpeg);
    ASSERT_NE(field, 0u);
    const struct {
        int width;
        int height;
    } cases[] = {{16385, 16}, {16, 16385}, {8193, 8193}};
    for (const auto& c : cases) {
        Bytes patched = jpeg;  // big-endian height, then width
        patched[field] = static_cast<std::uint8_t>(c.height >> 8);
        patched[field + 1] = static_cast<std::uint8_t>(c.height);
        patched[field + 2] = static_cast<std::uint8_t>(c.width >> 8);
        patched[field + 3] = static_cast<std::uint8_t>(c.width);
        const Result<Bitmap> picture = DecodeJpeg(patched);
        ASSERT_FALSE(picture.ok()) << c.width << " x " << c.height;
        EXPECT_NE(picture.error().message.find("limits"), std::string::npos)
            << picture.error().message;
    }

    // A wide picture at the limit itself decodes.
    JpegFixture wide{.width = 16384, .height = 1, .components = 1, .colorSpace = JCS_GRAYSCALE};
    const Result<Bitmap> picture = DecodeJpeg(EncodeJpeg(wide, Bytes(16384, 7)));
    ASSERT_TRUE(picture.ok()) << picture.error().message;
    EXPECT_EQ(picture->Width(), 16384);
}

// Where a marker starts: 0xFF followed by neither a stuffed 0 nor a restart number.
bool IsMarker(const Bytes& jpeg, std::size_t at) {
    return jpeg[at] == 0xFF && jpeg[at + 1] != 0 && (jpeg[at + 1] < 0xD0 || jpeg[at + 1] > 0xD7);
}

struct Scan {
    std::size_t header = 0;  // the scan's marker
    std::size_t data = 0;    // its compressed data
    std::size_t end = 0;     // the marker after them
};

std::vector<Scan> Scans(const Bytes& jpeg) {
    std::vector<Scan> scans;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (!IsMarker(jpeg, i)) {
            continue;
        }
        if (!scans.empty() && scans.back().end == 0) {
            scans.back().end = i;
        }
        if (jpeg[i + 1] == 0xDA) {
            scans.push_back({i, i + 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]), 0});
            i = scans.back().data - 1;
        }
    }
    return scans;
}

TEST(JpegDecoder, CutOrDamagedDataFailQuietly) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        JpegFixture fixture{
            .width = 64, .height = 64, .progressive = progressive, .subsample = true};
        Bytes samples;
        for (int i = 0; i < 64 * 64; ++i) {
            samples.insert(samples.end(),
                           {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i / 64 * 4),
                            static_cast<std::uint8_t>(i % 64 * 4)});
        }
        const Bytes jpeg = EncodeJpeg(fixture, samples);
        ASSERT_TRUE(DecodeJpeg(jpeg).ok());
        const std::vector<Scan> scans = Scans(jpeg);
        ASSERT_FALSE(scans.empty());
        const std::size_t scan = scans.back().header;
        // The first scan needs every bit of its data: a marker halfway cuts it.
        ASSERT_GT(scans.front().end, scans.front().data + 8);
        const std::size_t middle = (scans.front().data + scans.front().end) / 2;
        Bytes endMarkerInside = jpeg;
        endMarkerInside[middle] = 0xFF;
        endMarkerInside[middle + 1] = 0xD9;
        const struct {
            std::string name;
            Bytes data;
        } cases[] = {
            {"half the file", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
            {"without the end marker", Bytes(jpeg.begin(), jpeg.end() - 2)},
            {"header only", Bytes(jpeg.begin(), jpeg.begin() + scan)},
            {"end marker inside the data", endMarkerInside},
            {"only the start marker", Bytes(jpeg.begin(), jpeg.begin() + 2)},
            {"not a JPEG", Bytes(100, 0x42)},
            {"empty", {}},
        };
        for (const auto& c : cases) {
            ::testing::internal::CaptureStderr();
            const Result<Bitmap> picture = DecodeJpeg(c.data);
            EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.name;
            ASSERT_FALSE(picture.ok()) << c.name;
            EXPECT_FALSE(picture.error().message.empty()) << c.name;
        }
    }
}

TEST(JpegDecoder, TooManyScansFail) {
    JpegFixture fixture{.width = 8, .height = 8, .manyScans = true};
    Bytes samples;
    for (int i = 0; i < 64; ++i) {
        samples.insert(samples.end(), {200, 100, 50});
    }
    const Result<Bitmap> picture = DecodeJpeg(EncodeJpeg(fixture, samples));
    ASSERT_FALSE(picture.ok());
    EXPECT_NE(picture.error().message.find("scans"), std::string::npos) << picture.error().message;
}

}  // namespace
}  // namespace oplix
