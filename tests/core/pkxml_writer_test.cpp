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

std::string AsText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TpkXMLNode& Path(TpkXML& xml, std::u16string_view top, std::u16string_view child) {
    return *xml.FindTopNode(top, true)->FindChild(child, true);
}

TEST(XmlSave, FourLineExample) {
    TpkXML xml;
    Path(xml, u"odp", u"ver").Text = u"1";
    Path(xml, u"odp", u"lic").Text = u"";
    Path(xml, u"odp", u"nzu").Text = u"a<b";
    const std::string expected =
        "<odp>\r\n"
        "\t<ver>1</ver>\r\n"
        "\t<nzu>a&lt;b</nzu>\r\n"
        "</odp>\r\n";
    EXPECT_EQ(AsText(xml.SaveToBytes()), expected);

    // Looking up absent paths adds empty elements, which are not written.
    Path(xml, u"odp", u"abc");
    Path(xml, u"ODP", u"Ver");
    xml.FindTopNode(u"xyz", true);
    EXPECT_EQ(AsText(xml.SaveToBytes()), expected);
}

TEST(XmlSave, EmptyElementsAndAttributes) {
    TpkXML xml;
    TpkXMLNode& top = xml.Root().AddChild(u"t");
    top.AddChild(u"onlyEmptyAttr").Attrs.Add({u"x", u""});
    TpkXMLNode& valued = top.AddChild(u"valued");
    valued.Attrs.Add({u"x", u""});
    valued.Attrs.Add({u"y", u"2"});
    TpkXMLNode& both = top.AddChild(u"both");
    both.Attrs.Add({u"q", u"a&b<c>d\"e'f"});
    both.Text = u"a&b<c>d\"e'f\x01";
    EXPECT_EQ(AsText(xml.SaveToBytes()),
              "<t>\r\n"
              "\t<valued y=\"2\"/>\r\n"
              "\t<both q=\"a&amp;b&lt;c&gt;d&quot;e'f\">a&amp;b&lt;c&gt;d&quot;e'f\x01</both>\r\n"
              "</t>\r\n");
}

TEST(XmlSave, DeclarationCommentCDataAndRawData) {
    TpkXML xml;
    TpkXMLNode& declaration = xml.Root().AddChild(u"xml", TpkXMLKind::Declaration);
    declaration.Attrs.Add({u"version", u"1.0"});
    xml.Root().AddChild(u"", TpkXMLKind::Comment).Text = u"a <b> & c";
    TpkXMLNode& top = xml.Root().AddChild(u"a");
    top.Text = u"t";
    top.CData = u"x]]>y[cdata[z<&>";
    top.AddChild(u"b").Text = u"1";
    top.AddChild(u"", TpkXMLKind::Comment);  // empty: left out
    top.AddChild(u"img", TpkXMLKind::RawData).Data = {0x00, 0x3C, 0xFF};
    top.AddChild(u"none", TpkXMLKind::RawData);
    Bytes expected = Ansi(
        "<?xml version=\"1.0\"?>\r\n"
        "<!-- a <b> & c -->\r\n"
        "<a>t\r\n"
        "\t<![CDATA[x__>y_CDATA_z<&>]]>\r\n"
        "\t<b>1</b>\r\n"
        "\t<&img>");
    Append(expected, Bytes{3, 0, 0, 0, 0x00, 0x3C, 0xFF});
    Append(expected, Ansi("</img>\r\n\t<&none>"));
    Append(expected, Bytes{0, 0, 0, 0});
    Append(expected, Ansi("</none>\r\n</a>\r\n"));
    EXPECT_EQ(xml.SaveToBytes(), expected);
}

TEST(XmlSave, IndentAndLineBreakAreTheDocuments) {
    TpkXML xml;
    xml.Indent = u"  ";
    xml.LineBreak = u"\n";
    xml.Root().AddChild(u"a").AddChild(u"b").AddChild(u"c").Text = u"1";
    EXPECT_EQ(AsText(xml.SaveToBytes()), "<a>\n  <b>\n    <c>1</c>\n  </b>\n</a>\n");
}

TEST(XmlSave, EightBitWritesWindows1250AndQuestionMarksForTheRest) {
    TpkXML xml;
    xml.Root().AddChild(u"a").Text = u"ł€漢😀";
    const Bytes expected{'<', 'a', '>', 0xB3, 0x80, '?', '?', '<', '/', 'a', '>', '\r', '\n'};
    EXPECT_EQ(xml.SaveToBytes(), expected);
}

TEST(XmlSave, Utf16WritesTheMarkAndCodeUnitsButCDataThroughTheCodePage) {
    TpkXML xml;
    xml.Unicode = true;
    TpkXMLNode& a = xml.Root().AddChild(u"a");
    a.Text = u"ł漢😀";
    a.CData = u"ł漢";
    EXPECT_EQ(xml.SaveToBytes(), Utf16Document("<a>ł漢😀\r\n\t<![CDATA[ł?]]>\r\n</a>\r\n"));
}

TEST(XmlSave, SaveToStreamAppends) {
    TpkXML xml;
    xml.Root().AddChild(u"a").Text = u"1";
    Bytes out{'x'};
    xml.SaveToStream(out);
    EXPECT_EQ(AsText(out), "x<a>1</a>\r\n");
}

// Documents in the written layout read back and write out byte for byte.
TEST(XmlRoundTrip, WrittenDocumentsAreReproducedExactly) {
    const std::string_view layout =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
        "<!-- opis testu -->\r\n"
        "<tst wersja=\"40\">\r\n"
        "\t<nag>Sprawdzian &amp; powtórka</nag>\r\n"
        "\t<pyt nr=\"1\" typ=\"&quot;a&quot;\">Gęślą jaźń?\r\n"
        "\t\t<![CDATA[surowy <tekst> & coś]]>\r\n"
        "\t\t<odp>zażółć</odp>\r\n"
        "\t\t<pus x=\"1\"/>\r\n"
        "\t</pyt>\r\n"
        "</tst>\r\n";
    TpkXML ansi;
    ASSERT_TRUE(ansi.LoadFromBytes(Ansi(layout)));
    EXPECT_EQ(ansi.SaveToBytes(), Ansi(layout));

    Bytes unicode = Utf16Document(layout);
    Append(unicode, Utf16Units("<&img>"));
    Append(unicode, Bytes{3, 0, 0, 0, 'a', 0xFF, 0xFE});
    Append(unicode, Utf16Units("</img>\r\n<z>漢😀</z>\r\n"));
    TpkXML wide;
    ASSERT_TRUE(wide.LoadFromBytes(unicode));
    EXPECT_TRUE(wide.Unicode);
    // The odd raw length made the file odd; the ignored last byte is written back too.
    unicode.pop_back();
    Bytes saved = wide.SaveToBytes();
    ASSERT_EQ(saved.size(), unicode.size() + 1);
    saved.pop_back();
    EXPECT_EQ(saved, unicode);
}

TEST(XmlSave, TreesDeeperThanTheParserAllowsAreWrittenAndFreedWithoutRecursion) {
    constexpr int kDepth = 200000;
    auto xml = std::make_unique<TpkXML>();
    xml->Indent = u"";  // keeps the output linear in the depth
    TpkXMLNode* node = &xml->Root();
    for (int i = 0; i < kDepth; ++i) {
        node = &node->AddChild(u"e");
    }
    node->Text = u"x";
    const Bytes bytes = xml->SaveToBytes();
    const std::string text = AsText(bytes);
    EXPECT_EQ(text.substr(0, 8), "<e>\r\n<e>");
    EXPECT_EQ(text.substr(text.size() - 6), "</e>\r\n");
    xml.reset();
}

}  // namespace
}  // namespace oplix
