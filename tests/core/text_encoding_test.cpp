#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "storage/CaseMapping.h"
#include "storage/Cp1250.h"
#include "storage/Utf.h"

namespace oplix {
namespace {

TEST(Cp1250, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(all)), all);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UndefinedBytesMapToTheirC1Controls) {
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        EXPECT_EQ(Cp1250ToChar(b), char16_t{b});
    }
}

// The defined bytes must agree with the system's converter, which refuses only the five
// undefined ones.
TEST(Cp1250, DefinedBytesAgreeWithIconv) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1250");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b < 256; ++b) {
        char in = static_cast<char>(b);
        char out[4] = {};
        char* inPtr = &in;
        char* outPtr = out;
        size_t inLeft = 1, outLeft = sizeof out;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            continue;
        }
        char16_t expected =
            static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8);
        EXPECT_EQ(Cp1250ToChar(static_cast<unsigned char>(b)), expected) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(Cp1250, PolishLettersAndUnmappableCharacters) {
    EXPECT_EQ(Utf8ToCp1250("zażółć gęślą jaźń"), "za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1");
    EXPECT_EQ(Utf8ToCp1250("ÄŁ€"), "\xC4\xA3\x80");
    EXPECT_EQ(Utf8ToCp1250("日本"), "??");
    EXPECT_EQ(Utf16ToCp1250(u"a\U0001F600b"), "a?b");
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAFz"), u"\uFFFDz");  // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("ż\U0001F600")), "ż\U0001F600");
}

TEST(CaseMapping, MatchesPolishLettersWhateverTheLocale) {
    EXPECT_TRUE(EqualsIgnoreCase(u"zażółć", u"ZAŻÓŁĆ"));
    EXPECT_TRUE(EqualsIgnoreCase(u"Serr0.xml", u"SERR0.XML"));
    EXPECT_FALSE(EqualsIgnoreCase(u"a", u"ab"));
    EXPECT_FALSE(EqualsIgnoreCase(u"ą", u"a"));
    EXPECT_TRUE(EqualsIgnoreCaseCp1250("\xB3\xF3\xBF\xEA", "\xA3\xD3\xAF\xCA"));  // łóżę
    EXPECT_FALSE(EqualsIgnoreCaseCp1250("\xB3", "L"));
}

}  // namespace
}  // namespace oplix
