#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "pkxml_test_support.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

using testing_xml::Ansi;
using testing_xml::Append;
using testing_xml::Utf16Document;
using testing_xml::Utf16Units;
using testing_xml::Utf8;

// A compact picture of a subtree: kind mark (? declaration, ! comment, & raw data), name, "+"
// when closed, "text", {attributes}, #cdata#, [children].
std::string Describe(const TpkXMLNode& node);

std::string DescribeChildren(const TpkXMLNode& node) {
    std::string out;
    for (int i = 0; i < node.ChildCount(); ++i) {
        out += (i > 0 ? " " : "") + Describe(*node.Child(i));
    }
    return out;
}

std::string Describe(const TpkXMLNode& node) {
    static const char* const kMarks[] = {"", "?", "!", "&"};
    std::string out = kMarks[static_cast<int>(node.Kind)] + Utf8(node.Name);
    if (node.Closed && node.Kind != TpkXMLKind::Comment) {
        out += "+";
    }
    if (!node.Text.empty() || node.Kind == TpkXMLKind::Comment) {
        out += "\"" + Utf8(node.Text) + "\"";
    }
    if (node.Attrs.Count() > 0) {
        out += "{";
        for (int i = 0; i < node.Attrs.Count(); ++i) {
            const TpkXMLAttr& attr = *node.Attrs.Item(i);
            out += (i > 0 ? " " : "") + Utf8(attr.Name) + "=" + Utf8(attr.Value);
        }
        out += "}";
    }
    if (!node.CData.empty()) {
        out += "#" + Utf8(node.CData) + "#";
    }
    if (node.ChildCount() > 0) {
        out += "[" + DescribeChildren(node) + "]";
    }
    return out;
}

struct LoadCase {
    std::string_view document;  // UTF-8 here, loaded as Windows-1250 and as UTF-16
    bool complete;
    std::string_view tree;
};

constexpr LoadCase kLoadCases[] = {
    // Names and end tags.
    {"<a>x</A>", true, "a+\"x\""},
    {"<pyt treść=\"zażółć\">gęślą jaźń</PYT>", true, "pyt+\"gęślą jaźń\"{treść=zażółć}"},
    {"<a>1</a>\r\n<a>2</a>\r\n  ", true, "a+\"1\" a+\"2\""},
    {"<a></b>", false, "a"},
    {"<a></a x>", false, "a"},
    {"<>", false, ""},
    {"< a/>", false, ""},
    // Text: trimmed, only before the first child; text after a self-closing child is its own.
    {"<a>\r\n\t  two  words \t\r\n</a>", true, "a+\"two  words\""},
    {"<a><b/>after</a>", true, "a+[b+\"after\"]"},
    {"<a><b></b>after</a>", false, "a[b+]"},
    {"text<a/>", false, ""},
    {"<a/>text", true, "a+\"text\""},
    // A text cut short inside open elements loads, with them not closed.
    {"<a><b>text", true, "a[b\"text\"]"},
    // Attributes.
    {"<a b = \"1\"\tc=\"2\"/>", true, "a+{b=1 c=2}"},
    {"<a k=\"1\" k=\"2\"></a>", true, "a+{k=1 k=2}"},
    {"<a b='1'/>", false, ""},
    {"<a b/>", false, ""},
    {"<a b>", false, ""},
    {"<a b=\"1>", false, ""},
    {"<a/ >", false, ""},
    // Entities: four known ones in any case, each resolved once, nothing else.
    {"<a>&amp;lt;</a>", true, "a+\"&lt;\""},
    {"<a x=\"&QUOT;&Gt;\">&lT;&AmP;&apos;&#65;&amp</a>", true, "a+\"<&&apos;&#65;&amp\"{x=\">}"},
    // Declarations.
    {"<?xml version=\"1.0\" encoding=\"windows-1250\"?><tst/>", true,
     "?xml+{version=1.0 encoding=windows-1250} tst+"},
    {"<?xml version=\"1.0\" ?>", true, "?xml+{version=1.0}"},
    {"<?xml version=\"1.0\" ?x>", false, ""},
    // Comments, and a document type read as one.
    {"<a><!--  note  --><b/></a>", true, "a+[!\"note\" b+]"},
    {"<!--x-->", false, ""},
    {"<!DOCTYPE tst><tst>x</tst>", true, "!\"\""},
    {"<!DOCTYPE tst --><tst>x</tst>", true, "!\"CTYPE tst\" tst+\"x\""},
    // CDATA goes to the parent, raw; a later section replaces an earlier one.
    {"<a><![CDATA[ <r> &amp; ]]></a>", true, "a+# <r> &amp; #"},
    {"<a><![CDATA[first]]><![cdata[second]]><b/></a>", true, "a+#second#[b+]"},
    // What was read before a violation stays in the tree.
    {"<a><b>1</b><c x></a>", false, "a[b+\"1\"]"},
    // An empty end tag at the top level closes the root and ends the document.
    {"<a/></><b/>", true, "a+"},
};

TEST(XmlLoad, EightBitAndUtf16DocumentsGiveTheSameTree) {
    for (const LoadCase& c : kLoadCases) {
        for (const bool unicode : {false, true}) {
            TpkXML xml;
            const Bytes bytes = unicode ? Utf16Document(c.document) : Ansi(c.document);
            EXPECT_EQ(xml.LoadFromBytes(bytes), c.complete) << c.document << " " << unicode;
            EXPECT_EQ(DescribeChildren(xml.Root()), c.tree) << c.document << " " << unicode;
            EXPECT_EQ(xml.Unicode, unicode);
        }
    }
}

TEST(XmlLoad, Utf16KeepsCharactersOutsideTheCodePageAndIgnoresAnOddLastByte) {
    Bytes bytes = Utf16Document("<a>ł漢😀</a>");
    bytes.push_back('<');
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_EQ(xml.Root().Child(0)->Text, u"ł漢😀");
}

TEST(XmlLoad, EightBitBytesAreWindows1250) {
    const Bytes bytes{'<', 'a', '>', 0xB3, 0x9C, 0x80, '<', '/', 'a', '>'};
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_EQ(xml.Root().Child(0)->Text, u"ł\u015B€");
}

TEST(XmlLoad, AUtf8ByteOrderMarkIsNotRecognised) {
    TpkXML xml;
    EXPECT_FALSE(xml.LoadFromBytes(Ansi("\xEF\xBB\xBF<a/>")));
}

TEST(XmlLoad, ShortInputs) {
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(Utf16Document("<a>1</a>")));
    // Nothing at all: false, and the tree is left alone.
    EXPECT_FALSE(xml.LoadFromBytes({}));
    EXPECT_EQ(xml.Root().ChildCount(), 1);
    EXPECT_TRUE(xml.Unicode);
    // One byte: the tree is emptied, and nothing loads.
    const Bytes one{'<'};
    EXPECT_FALSE(xml.LoadFromBytes(one));
    EXPECT_EQ(xml.Root().ChildCount(), 0);
    // The mark alone is an empty UTF-16 document.
    const Bytes mark{0xFF, 0xFE};
    EXPECT_TRUE(xml.LoadFromBytes(mark));
    EXPECT_TRUE(xml.Unicode);
}

TEST(XmlLoad, ALoadReplacesTheTreeAndTheEncoding) {
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(Utf16Document("<a><![CDATA[x]]></a><![CDATA[top]]>")));
    ASSERT_TRUE(xml.LoadFromBytes(Ansi("<b/>")));
    EXPECT_EQ(DescribeChildren(xml.Root()), "b+");
    EXPECT_TRUE(xml.Root().CData.empty());
    EXPECT_FALSE(xml.Unicode);
    EXPECT_TRUE(xml.Root().Closed);
}

TEST(XmlLoad, FailureOffsetPointsAtTheViolation) {
    TpkXML xml;
    EXPECT_FALSE(xml.LoadFromBytes(Ansi("<a>1</a>\r\n x")));
    EXPECT_EQ(xml.FailureOffset(), 12u);
    EXPECT_FALSE(xml.LoadFromBytes(Utf16Document("<a>1</a>\r\n x")));
    EXPECT_EQ(xml.FailureOffset(), 2u + 24u);
}

std::string Nested(int depth, bool selfClosingInnermost) {
    std::string text;
    for (int i = 0; i < depth - 1; ++i) {
        text += "<e>";
    }
    text += selfClosingInnermost ? "<e/>" : "<e></e>";
    for (int i = 0; i < depth - 1; ++i) {
        text += "</e>";
    }
    return text;
}

TEST(XmlLoad, NestingIsLimitedToAThousandElements) {
    for (const bool selfClosing : {false, true}) {
        TpkXML xml;
        EXPECT_TRUE(xml.LoadFromBytes(Ansi(Nested(kMaxXMLDepth, selfClosing))));
        const TpkXMLNode* node = &xml.Root();
        int depth = 0;
        while (node->ChildCount() > 0) {
            node = node->Child(0);
            ++depth;
        }
        EXPECT_EQ(depth, kMaxXMLDepth);
        EXPECT_FALSE(xml.LoadFromBytes(Ansi(Nested(kMaxXMLDepth + 1, selfClosing))));
    }
    // Far deeper than the stack could hold: refused, and the partial tree is freed safely.
    std::string deep;
    for (int i = 0; i < 300000; ++i) {
        deep += "<a>";
    }
    TpkXML xml;
    EXPECT_FALSE(xml.LoadFromBytes(Ansi(deep)));
}

Bytes Le32(std::uint32_t value) {
    return Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

TEST(XmlLoad, RawDataOfOddLengthInUtf16) {
    // The five bytes leave the rest of the text at odd byte offsets; it still parses. The file
    // then has an odd length and its last byte is ignored, which only costs the final line
    // break its high byte.
    Bytes bytes = Utf16Document("<t><&img>");
    Append(bytes, Le32(5));
    Append(bytes, Bytes{0x00, '<', 0xFF, 0xFE, 0x01});
    Append(bytes, Utf16Units("</img>\r\n<b>x</b></t>\r\n"));
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_EQ(DescribeChildren(xml.Root()), "t+[&img+ b+\"x\"]");
    EXPECT_EQ(xml.Root().Child(0)->Child(0)->Data, (Bytes{0x00, '<', 0xFF, 0xFE, 0x01}));
}

TEST(XmlLoad, RawDataLongerThanTheRestIsSkippedWithoutAllocating) {
    for (const std::uint32_t length : {7u, 0xFFFFFFFFu}) {
        Bytes bytes = Utf16Document("<t><&img/>");
        Append(bytes, Le32(length));
        Append(bytes, Utf16Units("ab"));  // 4 bytes
        TpkXML xml;
        EXPECT_TRUE(xml.LoadFromBytes(bytes));
        EXPECT_EQ(DescribeChildren(xml.Root()), "t[&img+]");
    }
    // Fewer than four bytes for the length.
    Bytes bytes = Utf16Document("<&img>");
    bytes.push_back(1);
    bytes.push_back(0);
    TpkXML xml;
    EXPECT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_EQ(DescribeChildren(xml.Root()), "&img");
    EXPECT_TRUE(xml.Root().Child(0)->Data.empty());
}

TEST(XmlLoad, RawDataInAnEightBitDocumentReadsTheSixteenBitText) {
    // The characters 02 00 'A' are the bytes 02 00 00 00 41 00: length 2, data 41 00; the
    // position moves by six bytes, three characters, to the next element.
    const Bytes bytes{'<', '&', 'r', '/', '>', 0x02, 0x00, 'A', '<', 'b', '/', '>'};
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_EQ(DescribeChildren(xml.Root()), "&r+ b+");
    EXPECT_EQ(xml.Root().Child(0)->Data, (Bytes{'A', 0x00}));
}

}  // namespace
}  // namespace oplix
