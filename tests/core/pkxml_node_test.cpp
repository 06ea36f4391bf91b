#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "pkxml_test_support.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

using testing_xml::Ansi;

TEST(XmlNode, IndexOfChildIgnoresCaseAndKind) {
    TpkXMLNode node;
    node.AddChild(u"xml", TpkXMLKind::Declaration);
    node.AddChild(u"łąka");
    node.AddChild(u"ŁĄKA");
    node.AddChild(u"img", TpkXMLKind::RawData);
    EXPECT_EQ(node.IndexOfChild(u"XML"), 0);
    EXPECT_EQ(node.IndexOfChild(u"ŁąKa"), 1);
    EXPECT_EQ(node.IndexOfChild(u"Img"), 3);
    EXPECT_EQ(node.IndexOfChild(u"łąk"), -1);
    EXPECT_EQ(node.IndexOfChild(u""), -1);
}

// A node of many children looks them up through an index: the same answers as a scan, for
// children appended after a look-up and after one was removed.
TEST(XmlNode, ManyChildrenAreFoundAsAmongFew) {
    TpkXMLNode list(u"lst");
    for (int i = 0; i < 300; ++i) {
        list.AddChild(u"el" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                      Utf8ToUtf16(std::to_string(i)));
    }
    EXPECT_EQ(list.IndexOfChild(u"elb1"), 1);
    EXPECT_EQ(list.IndexOfChild(u"ELZ285"), 285);
    EXPECT_EQ(list.IndexOfChild(u"elA300"), -1);
    list.AddChild(u"Zażółć");
    list.AddChild(u"ZAŻÓŁĆ");  // a later child of the same name is never the one found
    EXPECT_EQ(list.IndexOfChild(u"zażółć"), 300);
    list.RemoveLastChild();
    list.RemoveLastChild();
    EXPECT_EQ(list.IndexOfChild(u"zażółć"), -1);
    EXPECT_EQ(list.FindChild(u"elA300", true)->Name, u"elA300");
    EXPECT_EQ(list.IndexOfChild(u"ela300"), 300);
    TpkXMLNode moved = std::move(list);
    EXPECT_EQ(moved.IndexOfChild(u"elb1"), 1);
}

TEST(XmlNode, FindChildCreatesOnlyWhenAsked) {
    TpkXMLNode node;
    EXPECT_EQ(node.FindChild(u"a", false), nullptr);
    EXPECT_EQ(node.ChildCount(), 0);
    TpkXMLNode* created = node.FindChild(u"a", true, TpkXMLKind::Comment);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Name, u"a");
    EXPECT_EQ(created->Kind, TpkXMLKind::Comment);
    EXPECT_FALSE(created->Closed);
    EXPECT_EQ(node.FindChild(u"A", true), created);
    EXPECT_EQ(node.ChildCount(), 1);
    // Pointers to children stay valid while siblings are appended.
    for (int i = 0; i < 1000; ++i) {
        node.AddChild(u"b");
    }
    EXPECT_EQ(node.Child(0), created);
}

// Children are kept in blocks of growing size; positions, names and addresses must survive
// every block boundary, whether children are appended or taken off again.
TEST(XmlNode, ChildrenKeepPositionAndAddressAcrossGrowthAndRemoval) {
    constexpr int kCount = 300;
    const auto name = [](int i) { return Utf8ToUtf16("c" + std::to_string(i)); };
    TpkXMLNode node;
    std::vector<TpkXMLNode*> added;
    for (int i = 0; i < kCount; ++i) {
        added.push_back(&node.AddChild(name(i)));
        added.back()->Text = name(i);
    }
    ASSERT_EQ(node.ChildCount(), kCount);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(node.Child(i), added[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(std::u16string_view(node.Child(i)->Text), name(i)) << i;
        EXPECT_EQ(node.IndexOfChild(name(i)), i) << i;
    }
    for (const int keep : {200, 25, 9, 8, 1, 0}) {
        while (node.ChildCount() > keep) {
            node.RemoveLastChild();
        }
        EXPECT_EQ(node.Child(keep), nullptr);
        for (int i = 0; i < keep; ++i) {
            ASSERT_EQ(node.Child(i), added[static_cast<std::size_t>(i)]) << keep << " " << i;
        }
    }
    node.RemoveLastChild();  // nothing left to remove
    EXPECT_EQ(node.ChildCount(), 0);
    for (int i = 0; i < 30; ++i) {
        node.AddChild(name(i)).AddChild(u"grandchild");
    }
    EXPECT_EQ(std::u16string_view(node.Child(29)->Name), name(29));
    EXPECT_EQ(node.Child(29)->Child(0)->Name, u"grandchild");
}

TEST(XmlNode, AttributesKeepDocumentOrder) {
    TpkXMLAttrs attrs;
    attrs.Add({u"a", u"1"});
    TpkXMLAttr& second = attrs.Add(u"b", u"");
    second.Value = std::u16string(u"2");  // GCC 12 warns wrongly (-Wrestrict) on assigning u"2"
    attrs.Add(u"a", u"3");
    ASSERT_EQ(attrs.Count(), 3);
    EXPECT_EQ(attrs.Item(0)->Name, u"a");
    EXPECT_EQ(attrs.Item(1)->Value, u"2");
    EXPECT_EQ(attrs.Item(2)->Value, u"3");
    TpkXMLAttrs moved = std::move(attrs);
    EXPECT_EQ(moved.Count(), 3);
    EXPECT_EQ(attrs.Count(), 0);  // a moved-from list is empty
    moved.Clear();
    moved.Add(u"c", u"4");
    ASSERT_EQ(moved.Count(), 1);
    EXPECT_EQ(moved.Item(0)->Name, u"c");
    EXPECT_EQ(moved.Item(1), nullptr);
}

TEST(XmlNode, PositionsOutsideTheRangeGiveNull) {
    TpkXMLNode node;
    node.AddChild(u"a");
    node.Attrs.Add({u"x", u"1"});
    const TpkXMLNode& constNode = node;
    for (const int i : {-1, 1, 1000}) {
        EXPECT_EQ(node.Child(i), nullptr);
        EXPECT_EQ(constNode.Child(i), nullptr);
        EXPECT_EQ(node.Attrs.Item(i), nullptr);
    }
    EXPECT_EQ(node.Attrs.Item(0)->Value, u"1");
    node.Attrs.Clear();
    EXPECT_EQ(node.Attrs.Count(), 0);
    EXPECT_EQ(node.Attrs.Item(0), nullptr);
}

TEST(XmlNode, ClearFreesChildrenAndText) {
    TpkXMLNode node(u"a");
    node.Text = u"t";
    node.AddChild(u"b").AddChild(u"c");
    node.Clear();
    EXPECT_EQ(node.ChildCount(), 0);
    EXPECT_TRUE(node.Text.empty());
    EXPECT_EQ(node.Name, u"a");
}

TEST(XmlNode, MoveAssignmentTakesTheSubtree) {
    TpkXMLNode source(u"s");
    source.AddChild(u"x").Text = u"1";
    TpkXMLNode target(u"t");
    target.AddChild(u"old").AddChild(u"older");
    target = std::move(source);
    EXPECT_EQ(target.Name, u"s");
    ASSERT_EQ(target.ChildCount(), 1);
    EXPECT_EQ(target.Child(0)->Text, u"1");
}

TEST(XmlDocument, StartsEmpty) {
    TpkXML xml;
    EXPECT_TRUE(xml.Root().Name.empty());
    EXPECT_TRUE(xml.Root().Closed);
    EXPECT_EQ(xml.Root().ChildCount(), 0);
    EXPECT_FALSE(xml.Unicode);
    EXPECT_EQ(xml.Indent, u"\t");
    EXPECT_EQ(xml.LineBreak, u"\r\n");
    EXPECT_TRUE(xml.SaveToBytes().empty());
    EXPECT_EQ(xml.FindTopNode(u"tst", false), nullptr);
    TpkXMLNode* created = xml.FindTopNode(u"tst", true);
    EXPECT_EQ(created, xml.Root().Child(0));
}

class XmlFile : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const {
        return ::testing::TempDir() + "pkxml_" + name;
    }
};

TEST_F(XmlFile, SaveAndLoadRoundTrip) {
    const std::string path = PathOf("round.xml");
    TpkXML written;
    written.Unicode = true;
    written.FindTopNode(u"szk", true)->FindChild(u"naz", true)->Text = u"Szkoła Podstawowa nr 1";
    ASSERT_TRUE(written.SaveToFile(path).ok());
    // A shorter document truncates the file.
    TpkXML shorter;
    shorter.Unicode = true;
    shorter.FindTopNode(u"szk", true)->Text = u"x";
    ASSERT_TRUE(shorter.SaveToFile(path).ok());

    TpkXML read;
    ASSERT_TRUE(read.LoadFromFile(path));
    EXPECT_TRUE(read.Unicode);
    EXPECT_EQ(read.SaveToBytes(), shorter.SaveToBytes());
    std::remove(path.c_str());
}

TEST_F(XmlFile, MissingFilesAndFoldersFail) {
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(Ansi("<a/>")));
    EXPECT_FALSE(xml.LoadFromFile(PathOf("does-not-exist.xml")));
    EXPECT_EQ(xml.Root().ChildCount(), 1);

    const Status saved = xml.SaveToFile(PathOf("no-such-folder/x.xml"));
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().code, ENOENT);
    EXPECT_NE(saved.error().message.find("no-such-folder"), std::string::npos);
}

}  // namespace
}  // namespace oplix
