#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "storage/DCPbase64.h"

namespace oplix {
namespace {

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST(Base64, EncodesInGroupsOfThreeWithPadding) {
    const struct {
        std::string_view bytes;
        std::string_view text;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xFB\xFF\xBF", "+/+/"},
        {std::string_view("\0\0", 2), "AAA="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Encode(BytesOf(c.bytes)), c.text) << c.text;
    }
}

TEST(Base64, LongInputHasNoLineBreaksAndRoundTrips) {
    for (std::size_t length : {0u, 1u, 2u, 3u, 4u, 5u, 57u, 58u, 59u, 256u, 1000u}) {
        Bytes bytes(length);
        for (std::size_t i = 0; i < length; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 37 + length);
        }
        const std::string text = Base64Encode(bytes);
        EXPECT_EQ(text.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(text.find_first_of("\r\n "), std::string::npos);
        EXPECT_EQ(Base64Decode(text), bytes) << "length " << length;
    }
}

TEST(Base64, DecodesWholeGroupsOnly) {
    const struct {
        std::string_view text;
        std::string_view bytes;
    } cases[] = {
        {"", ""},
        {"Zg", ""},  // fewer than four characters
        {"Zm9", ""},
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg", "foo"},  // characters after the last whole group are ignored
        {"Zm9vYmF", "foo"},
        {"Zg==Zm8=", "ffo"},  // padding shortens only its own group
        {"Zm8=Zm9v", "fofoo"},
        {"Zm=v", "f"},  // "=" third: one byte, whatever follows
        {"YQBiAGMA", std::string_view("a\0b\0c\0", 6)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Decode(c.text), BytesOf(c.bytes)) << c.text;
    }
}

// Nothing is skipped: a character outside the alphabet, white space included, counts as 0 and
// still takes its place in the grouping.
TEST(Base64, ForeignCharactersCountAsZeroAndKeepTheirPlace) {
    EXPECT_EQ(Base64Decode("Z!=="), BytesOf("d"));
    EXPECT_EQ(Base64Decode("Zm9v\nYmFy"), (Bytes{'f', 'o', 'o', 0x01, 0x89, 0x85}));
    EXPECT_EQ(Base64Decode("===="), Bytes{0});
    EXPECT_EQ(Base64Decode("A=A="), (Bytes{0, 0}));
    EXPECT_EQ(Base64Decode("\xFF\xFF\xFF\xFF"), (Bytes{0, 0, 0}));
}

TEST(Base64, Text16UsesUtf16LittleEndian) {
    const struct {
        std::u16string_view text;
        std::u16string_view base64;
    } cases[] = {
        {u"", u""},
        {u"abc", u"YQBiAGMA"},
        {u"12", u"MQAyAA=="},
        {u"\u017C", u"fAE="},  // Polish letter z with dot above
        {u"\U0001F600", u"PdgA3g=="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeText16(c.text), c.base64);
        EXPECT_EQ(DecodeText16(c.base64), c.text);
    }
}

TEST(Base64, DecodeText16DropsAnOddByteAndTreatsNonAsciiAsForeign) {
    EXPECT_EQ(DecodeText16(u"YQBi"), u"a");  // bytes 61 00 62
    // The low byte of U+0142 is 'B'; the character must count as 0 all the same.
    EXPECT_EQ(DecodeText16(u"YQ\u0142A"), DecodeText16(u"YQAA"));
    EXPECT_EQ(DecodeText16(u"YQ"), u"");
}

}  // namespace
}  // namespace oplix
