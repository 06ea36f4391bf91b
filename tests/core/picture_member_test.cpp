#include <gtest/gtest.h>

#include <string>

#include "picture_test_support.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "test_files.h"

namespace oplix {
namespace {

using namespace testing_pictures;
using testing_files::ScratchFolder;

const Rgb kRed{255, 0, 0};
const Rgb kBlue{0, 0, 255};

// A 2 x 1 picture, red then blue, in each of the three forms.
Bytes RedBlueBmp() {
    BmpFixture fixture;
    fixture.width = 2;
    fixture.pixels = {0, 0, 255, 255, 0, 0, 0, 0};  // blue, green, red per pixel, padded to 4
    return BuildBmp(fixture);
}

Bytes RedBlueGif() {
    GifFixture fixture;
    fixture.width = 2;
    fixture.globalMap = {kRed, kBlue};
    GifImage image;
    image.width = 2;
    image.pixels = {0, 1};
    fixture.images = {image};
    return EncodeGif(fixture);
}

Bytes RedBlueJpeg() {
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Rgb& c = x < 8 ? kRed : kBlue;
            samples.insert(samples.end(), {c.r, c.g, c.b});
        }
    }
    return EncodeJpeg(JpegFixture{}, samples);
}

class PictureMemberTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateArchiveForWriting(folder_.File("test.skt"), archive_));
        for (const auto& [name, bytes] : {std::pair<const char*, Bytes>{"obraz.jpg", RedBlueJpeg()},
                                          {"obraz.jpeg", RedBlueJpeg()},
                                          {"rycina.Gif", RedBlueGif()},
                                          {"mapa.BMP", RedBlueBmp()},
                                          {"uszkodzony.JPG", Bytes{0xFF, 0xD8, 0xFF}},
                                          {"bez_rozszerzenia", RedBlueBmp()}}) {
            ASSERT_TRUE(PutMember(name, bytes, archive_).ok()) << name;
        }
    }

    ScratchFolder folder_;
    TVfsPAK archive_;
};

TEST_F(PictureMemberTest, TheUpperCaseExtensionChoosesTheDecoderAndTheTargetFormat) {
    struct Case {
        const char* member;
        PixelFormat before;
        PixelFormat after;
        int width;
    };
    const Case cases[] = {
        {"obraz.jpg", PixelFormat::Indexed8, PixelFormat::Rgb24, 16},
        {"RYCINA.GIF", PixelFormat::Rgb24, PixelFormat::Indexed8, 2},
        {"mapa.bmp", PixelFormat::Rgb24, PixelFormat::Rgb24, 2},
        {"mapa.bmp", PixelFormat::Indexed8, PixelFormat::Indexed8, 2},
    };
    for (const Case& c : cases) {
        Bitmap target;
        target.SetFormat(c.before);
        Result<bool> loaded = LoadPictureMember(c.member, target, archive_);
        ASSERT_TRUE(loaded.ok()) << c.member << ": " << loaded.error().message;
        EXPECT_TRUE(*loaded) << c.member;
        EXPECT_EQ(target.Format(), c.after) << c.member;
        EXPECT_EQ(target.Width(), c.width) << c.member;
        const Rgb left = target.PixelRgb(0, 0);
        const Rgb right = target.PixelRgb(c.width - 1, 0);
        EXPECT_GT(left.r, 200) << c.member;
        EXPECT_LT(left.b, 60) << c.member;
        EXPECT_GT(right.b, 200) << c.member;
        EXPECT_LT(right.r, 60) << c.member;
    }
}

TEST_F(PictureMemberTest, OtherExtensionsAndAbsentMembersDrawNothing) {
    for (const char* member : {"obraz.jpeg", "bez_rozszerzenia", "brak.JPG"}) {
        Result<Bitmap> target = Bitmap::Create(3, 3, PixelFormat::Indexed8);
        ASSERT_TRUE(target.ok());
        Result<bool> loaded = LoadPictureMember(member, *target, archive_);
        ASSERT_TRUE(loaded.ok()) << member;
        EXPECT_FALSE(*loaded) << member;
        EXPECT_EQ(target->Width(), 3) << member;
        EXPECT_EQ(target->Format(), PixelFormat::Indexed8) << member;
    }
}

TEST_F(PictureMemberTest, ADamagedPictureIsAnError) {
    Bitmap target;
    Result<bool> loaded = LoadPictureMember("uszkodzony.JPG", target, archive_);
    EXPECT_FALSE(loaded.ok());
}

}  // namespace
}  // namespace oplix
