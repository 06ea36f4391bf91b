#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "storage/DCPbase64.h"
#include "storage/EncodedFields.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr int kModes[] = {kFieldPlain, kFieldBase64};

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// The element at a path, found without creating anything; null when absent.
const TpkXMLNode* Find(TpkXML& doc, std::initializer_list<std::u16string_view> path) {
    TpkXMLNode* node = &doc.Root();
    for (std::u16string_view name : path) {
        node = node->FindChild(name, false, TpkXMLKind::Element);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

void SetText(TpkXML& doc, std::u16string_view level1, std::u16string_view level2,
             std::u16string text) {
    doc.FindTopNode(level1, true, TpkXMLKind::Element)
        ->FindChild(level2, true, TpkXMLKind::Element)
        ->Text = std::move(text);
}

TEST(EncodedFields, TextValuesRoundTripAtTwoThreeAndFourLevels) {
    const struct { std::string_view level3, level4; } paths[] = {{"", ""}, {"c", ""}, {"c", "d"}};
    const std::string_view values[] = {"Ala ma kota", "zażółć gęślą jaźń", "a<b & \"c\"", ""};
    for (int mode : kModes) {
        for (const auto& path : paths) {
            for (std::string_view value : values) {
                TpkXML doc;
                int code = 0;
                WriteTextField(mode, "a", "b", path.level3, path.level4, doc, value, code);
                EXPECT_EQ(code, kFieldOk);
                code = -1;
                EXPECT_EQ(ReadTextField(mode, "A", "B", path.level3, path.level4, doc, code),
                          value);
                EXPECT_EQ(code, kFieldOk);
            }
        }
    }
}

TEST(EncodedFields, ModeDecidesTheStoredText) {
    TpkXML doc;
    int code = 0;
    WriteIntField(kFieldBase64, "odp", "ilp", "", "", doc, 12, code);
    WriteTextField(kFieldBase64, "odp", "nzw", "", "", doc, "abc", code);
    WriteIntField(kFieldPlain, "odp", "lic", "", "", doc, 12, code);
    WriteIntField(7, "odp", "inny", "", "", doc, -5,
                  code);  // any mode but 1 is plain
    EXPECT_EQ(code, kFieldOk);
    EXPECT_EQ(Find(doc, {u"odp", u"ilp"})->Text, u"MQAyAA==");
    EXPECT_EQ(Find(doc, {u"odp", u"nzw"})->Text, u"YQBiAGMA");
    EXPECT_EQ(Find(doc, {u"odp", u"lic"})->Text, u"12");
    EXPECT_EQ(Find(doc, {u"odp", u"inny"})->Text, u"-5");

    EXPECT_EQ(ReadIntField(kFieldBase64, "odp", "ilp", "", "", doc, code), 12);
    EXPECT_EQ(code, kFieldOk);
    EXPECT_EQ(ReadIntField(kFieldPlain, "odp", "ilp", "", "", doc, code), 0);
    EXPECT_EQ(code, kFieldNotAnInteger);
    EXPECT_EQ(ReadTextField(kFieldPlain, "odp", "ilp", "", "", doc, code), "MQAyAA==");
    EXPECT_EQ(ReadIntField(-1, "odp", "inny", "", "", doc, code), -5);
}

TEST(EncodedFields, EmptyLevelsShortenThePath) {
    TpkXML doc;
    int code = 0;
    WriteTextField(kFieldPlain, "a", "b", "", "ignored", doc, "two", code);
    WriteTextField(kFieldPlain, "a", "c", "d", "", doc, "three", code);
    WriteTextField(kFieldPlain, "a", "c", "e", "f", doc, "four", code);
    EXPECT_EQ(code, kFieldOk);
    EXPECT_EQ(Find(doc, {u"a", u"b"})->Text, u"two");
    EXPECT_EQ(Find(doc, {u"a", u"b"})->ChildCount(), 0);
    EXPECT_EQ(Find(doc, {u"a", u"c", u"d"})->Text, u"three");
    EXPECT_EQ(Find(doc, {u"a", u"c", u"d"})->ChildCount(), 0);
    EXPECT_EQ(Find(doc, {u"a", u"c", u"e", u"f"})->Text, u"four");
    EXPECT_EQ(ReadTextField(kFieldPlain, "A", "B", "", "x", doc, code), "two");
}

// The created leaf stays empty and is not saved; elements created above it hold a child, so
// only a leaf under an existing element leaves the saved bytes as they were.
TEST(EncodedFields, ReadingAnAbsentFieldCreatesEmptyElements) {
    TpkXML doc;
    ASSERT_TRUE(doc.LoadFromBytes(BytesOf("<odp>\r\n\t<ver>1</ver>\r\n</odp>\r\n")));
    const Bytes before = doc.SaveToBytes();
    int code = 5;
    EXPECT_EQ(ReadTextField(kFieldBase64, "odp", "nzu", "", "", doc, code), "");
    EXPECT_EQ(code, kFieldOk);
    EXPECT_EQ(ReadIntField(kFieldPlain, "odp", "lic", "", "", doc, code), 0);
    EXPECT_EQ(code, kFieldNotAnInteger);
    EXPECT_EQ(Find(doc, {u"odp", u"nzu"})->Text, u"");
    EXPECT_EQ(Find(doc, {u"odp", u"lic"})->Text, u"");
    EXPECT_EQ(doc.SaveToBytes(), before);

    EXPECT_EQ(ReadTextField(kFieldPlain, "tst", "p1", "tr", "x", doc, code), "");
    EXPECT_EQ(code, kFieldOk);
    EXPECT_NE(Find(doc, {u"tst", u"p1", u"tr", u"x"}), nullptr);
}

TEST(EncodedFields, EmptyValueInBase64IsAnEmptyTextThatIsNotSaved) {
    TpkXML doc;
    int code = 0;
    WriteTextField(kFieldPlain, "odp", "ver", "", "", doc, "1", code);
    const Bytes before = doc.SaveToBytes();
    WriteTextField(kFieldBase64, "odp", "lic", "", "", doc, "", code);
    EXPECT_EQ(code, kFieldOk);
    EXPECT_EQ(Find(doc, {u"odp", u"lic"})->Text, u"");
    EXPECT_EQ(doc.SaveToBytes(), before);
}

TEST(EncodedFields, ReadsResetTheCodeAndWritesOnlyReportFailures) {
    TpkXML doc;
    int code = kFieldCodingFailed;
    WriteTextField(kFieldPlain, "a", "b", "", "", doc, "x", code);
    WriteIntField(kFieldBase64, "a", "c", "", "", doc, 3, code);
    EXPECT_EQ(code, kFieldCodingFailed);  // the earlier failure stays visible
    ReadTextField(kFieldPlain, "a", "b", "", "", doc, code);
    EXPECT_EQ(code, kFieldOk);
    code = kFieldPathFailed;
    EXPECT_EQ(ReadIntField(kFieldBase64, "a", "c", "", "", doc, code), 3);
    EXPECT_EQ(code, kFieldOk);
}

TEST(EncodedFields, IntegerTextsOutsideSigned32BitDecimalAreNotIntegers) {
    const struct {
        std::u16string_view text;
        int code;
        std::int32_t value;
    } cases[] = {
        {u"0", kFieldOk, 0},
        {u"-17", kFieldOk, -17},
        {u"+17", kFieldOk, 17},
        {u"007", kFieldOk, 7},
        {u"2147483647", kFieldOk, std::numeric_limits<std::int32_t>::max()},
        {u"-2147483648", kFieldOk, std::numeric_limits<std::int32_t>::min()},
        {u"2147483648", kFieldNotAnInteger, 0},
        {u"-2147483649", kFieldNotAnInteger, 0},
        {u"99999999999999999999", kFieldNotAnInteger, 0},
        {u"", kFieldNotAnInteger, 0},
        {u"-", kFieldNotAnInteger, 0},
        {u"+", kFieldNotAnInteger, 0},
        {u"+-1", kFieldNotAnInteger, 0},
        {u"12a", kFieldNotAnInteger, 0},
        {u"1 2", kFieldNotAnInteger, 0},
        {u" 12", kFieldNotAnInteger, 0},
        {u"0x10", kFieldNotAnInteger, 0},
        {u"1.5", kFieldNotAnInteger, 0},
        {u"\uFF11", kFieldNotAnInteger, 0},  // a fullwidth digit
    };
    for (int mode : kModes) {
        for (const auto& c : cases) {
            TpkXML doc;
            const std::u16string text(c.text);
            SetText(doc, u"a", u"b", mode == kFieldBase64 ? EncodeText16(text) : text);
            int code = -1;
            EXPECT_EQ(ReadIntField(mode, "a", "b", "", "", doc, code), c.value)
                << Utf16ToUtf8(text);
            EXPECT_EQ(code, c.code) << Utf16ToUtf8(text);
        }
    }
}

TEST(EncodedFields, WrittenIntegersReadBack) {
    for (std::int32_t value : {0, 1, -1, 12, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()}) {
        for (int mode : kModes) {
            TpkXML doc;
            int code = 0;
            WriteIntField(mode, "a", "b", "c", "", doc, value, code);
            EXPECT_EQ(ReadIntField(mode, "a", "b", "c", "", doc, code), value);
            EXPECT_EQ(code, kFieldOk);
        }
    }
}

// A decoded value that is not well-formed UTF-16 has no faithful text: a coding failure, not a
// text with replacement characters.
TEST(EncodedFields, BadlyFormedTextsAreFailures) {
    TpkXML doc;
    SetText(doc, u"a", u"lone", EncodeText16(std::u16string(1, u'\xD800')));
    SetText(doc, u"a", u"raw", std::u16string(1, u'\xDC00'));
    int code = 0;
    EXPECT_EQ(ReadTextField(kFieldBase64, "a", "lone", "", "", doc, code), "");
    EXPECT_EQ(code, kFieldCodingFailed);
    EXPECT_EQ(ReadIntField(kFieldBase64, "a", "lone", "", "", doc, code), 0);
    EXPECT_NE(code, kFieldOk);
    for (int mode : kModes) {
        EXPECT_EQ(ReadTextField(mode, "a", "raw", "", "", doc, code), "");
        EXPECT_EQ(code, kFieldPathFailed);
    }

    code = kFieldOk;
    WriteTextField(kFieldBase64, "a", "new", "", "", doc, "bad \xC3", code);
    EXPECT_EQ(code, kFieldCodingFailed);
    code = kFieldOk;
    WriteTextField(kFieldPlain, "a", "new", "", "", doc, "bad \xC3", code);
    EXPECT_EQ(code, kFieldPathFailed);
    EXPECT_EQ(Find(doc, {u"a", u"new"}), nullptr);
}

// A nameless element would be saved as "<>", which no longer loads, so such a path is refused
// before anything is created.
TEST(EncodedFields, PathsWithEmptyNamesFailWithoutTouchingTheDocument) {
    const struct {
        std::string_view level1, level2, level3, level4;
    } paths[] = {{"", "b", "", ""}, {"a", "", "c", ""}, {"a", "", "", ""}, {"", "", "", ""}};
    for (const auto& path : paths) {
        TpkXML doc;
        int code = kFieldOk;
        WriteTextField(kFieldPlain, path.level1, path.level2, path.level3, path.level4, doc, "v",
                       code);
        EXPECT_EQ(code, kFieldPathFailed);
        EXPECT_EQ(ReadTextField(kFieldPlain, path.level1, path.level2, path.level3, path.level4,
                                doc, code),
                  "");
        EXPECT_EQ(code, kFieldPathFailed);
        EXPECT_EQ(ReadIntField(kFieldPlain, path.level1, path.level2, path.level3, path.level4, doc,
                               code),
                  0);
        EXPECT_EQ(code, kFieldPathFailed);
        EXPECT_EQ(doc.Root().ChildCount(), 0);
    }
}

}  // namespace
}  // namespace oplix
