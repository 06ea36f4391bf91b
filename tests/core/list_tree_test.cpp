#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ListTree.h"

namespace oplix {
namespace {

constexpr int kViewport = 305;  // 19 rows in view
constexpr int kSurface = 2000;

std::string Line(int id, int level, int descendants, int parent, int visible, int look,
                 const std::string& text, const std::string& file = "") {
    return std::to_string(id) + "*" + std::to_string(level) + "*" + std::to_string(descendants) +
           "*" + std::to_string(parent) + "*" + std::to_string(visible) + "*" +
           std::to_string(look) + "*" + text + "*" + file + "*";
}

// A top-level group holding two tests.
std::vector<std::string> GroupOfTwo() {
    return {Line(1, 0, 2, 0, 1, 0, "Matematyka"), Line(2, 1, 0, 1, 1, 0, "Ułamki", "\\u.skt"),
            Line(3, 1, 0, 1, 0, 0, "Potęgi", "\\p.skt")};
}

std::vector<int> ShownEntries(const ListTree& tree) {
    std::vector<int> shown;
    for (const TreeRow& row : tree.Rows(kSurface)) {
        shown.push_back(row.entry);
    }
    return shown;
}

// `count` top-level tests, all shown.
std::vector<std::string> FlatList(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(Line(i + 1, 0, 0, 0, 1, 0, "Test " + std::to_string(i), "\\t.skt"));
    }
    return lines;
}

TEST(ListTree, GroupOpensOnItsChildrenAndClosesAgain) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(GroupOfTwo(), kViewport));
    EXPECT_EQ(tree.RowsInView(), 19);
    // The second line's visibility 1 is not read: it is below the top level.
    EXPECT_EQ(ShownEntries(tree), std::vector<int>{0});
    EXPECT_EQ(tree.Rows(kSurface)[0].arrow, TreeArrow::Right);

    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 1, 2}));
    const std::vector<TreeRow> rows = tree.Rows(kSurface);
    EXPECT_EQ(rows[0].arrow, TreeArrow::Left);
    EXPECT_EQ(rows[1].arrow, TreeArrow::None);
    EXPECT_EQ(rows[2].top, 16 * 2 + 5);
    EXPECT_EQ(rows[2].arrowX, 21);
    EXPECT_EQ(rows[2].textX, 38);
    EXPECT_EQ(rows[0].textX, 18);

    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), std::vector<int>{0});
}

TEST(ListTree, ReopenedGroupShowsItsChildGroupClosed) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(
        {Line(1, 0, 2, 0, 1, 0, "Przedmioty"), Line(2, 1, 1, 1, 0, 0, "Geometria"),
         Line(3, 2, 0, 2, 0, 0, "Figury", "\\f.skt"), Line(4, 0, 0, 0, 1, 0, "Osobny", "\\o.skt")},
        kViewport));
    tree.Toggle();
    ASSERT_TRUE(tree.Click(21));  // the child group on row 1
    ASSERT_EQ(tree.Selected(), 1);
    tree.Toggle();
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 1, 2, 3}));
    tree.Click(0);
    tree.Toggle();  // closes the whole subtree
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 3}));
    tree.Toggle();
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(tree.Rows(kSurface)[1].arrow, TreeArrow::Right);
}

// Closing hides as many following entries as the count says, whatever their level, and
// never more than the table holds.
TEST(ListTree, ClosingHidesTheCountedEntriesUpToTheEndOfTheTable) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(
        {Line(1, 0, 2, 0, 1, 0, "Grupa"), Line(2, 1, 0, 1, 0, 0, "Dziecko"),
         Line(3, 0, 0, 0, 1, 0, "Sąsiad", "\\s.skt"), Line(4, 0, 50, 0, 1, 0, "Ostatnia grupa"),
         Line(5, 1, 0, 4, 0, 0, "Ostatni", "\\o.skt")},
        kViewport));
    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 1, 2, 3}));
    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 3}));

    ASSERT_TRUE(tree.Click(21));
    ASSERT_EQ(tree.Selected(), 3);
    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 3, 4}));
    ASSERT_TRUE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 3}));
    EXPECT_EQ(tree.Entries().size(), 5u);
}

TEST(ListTree, TestsAndEmptyGroupsDoNotToggle) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(
        {Line(1, 0, 0, 0, 1, 0, "Test", "\\t.skt"), Line(2, 0, 0, 0, 1, 0, "Pusta")}, kViewport));
    EXPECT_FALSE(tree.Toggle());
    tree.Click(21);
    EXPECT_FALSE(tree.Toggle());
    EXPECT_EQ(ShownEntries(tree), (std::vector<int>{0, 1}));
}

TEST(ListTree, PressesSelectTheEntryOnTheirRow) {
    struct Case {
        int y;
        int selected;
    };
    // Rows: entry 1 hidden, so row 1 shows entry 2 and row 2 entry 3; row 3 is empty.
    const std::vector<std::string> lines = {
        Line(1, 0, 0, 0, 1, 0, "A", "\\a.skt"), Line(2, 0, 0, 0, 0, 0, "B", "\\b.skt"),
        Line(3, 0, 0, 0, 1, 0, "C", "\\c.skt"), Line(4, 0, 0, 0, 1, 0, "D", "\\d.skt")};
    const Case cases[] = {{-30, 0}, {0, 0},  {20, 0},  {21, 2},  {36, 2},
                          {37, 3},  {52, 3}, {53, -1}, {500, -1}};
    for (const Case& c : cases) {
        ListTree tree;
        ASSERT_TRUE(tree.Load(lines, kViewport));
        tree.Click(21);  // something other than the first entry selected before
        const int before = tree.Selected();
        EXPECT_EQ(tree.Click(c.y), c.selected >= 0) << c.y;
        const int expected = c.selected >= 0 ? c.selected : before;
        EXPECT_EQ(tree.Selected(), expected) << c.y;
        for (std::size_t i = 0; i < tree.Entries().size(); ++i) {
            EXPECT_EQ(tree.Entries()[i].look, static_cast<int>(i) == expected ? kLookSelected : 0)
                << c.y << " entry " << i;
        }
    }
}

TEST(ListTree, PressAboveTheSecondRowTakesTheFirstEntryEvenWhenHidden) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(
        {Line(1, 0, 0, 0, 0, 0, "Ukryty", "\\u.skt"), Line(2, 0, 0, 0, 1, 0, "Widoczny", "\\w.skt"),
         Line(3, 0, 0, 0, 1, 0, "Drugi", "\\d.skt")},
        kViewport));
    ASSERT_TRUE(tree.Click(21));
    EXPECT_EQ(tree.Selected(), 2);
    ASSERT_TRUE(tree.Click(10));
    EXPECT_EQ(tree.Selected(), 0);
    CurrentChoice choice;
    ASSERT_TRUE(tree.TakeChosenTest("/szkola/Testy.skg", choice));
    EXPECT_EQ(choice.testName, "Ukryty");
}

TEST(ListTree, LooksGiveColoursAndUnknownLooksKeepTheRowBefore) {
    const TreeTextStyle normal{91, 90, 92, false};
    const TreeTextStyle selected{35, 31, 24, false};
    const TreeTextStyle grey{128, 128, 128, false};
    const TreeTextStyle underlined{91, 90, 92, true};
    ListTree tree;
    ASSERT_TRUE(tree.Load({Line(1, 0, 0, 0, 1, 3, "szary na górze"), Line(2, 0, 0, 0, 1, 2, "dwa"),
                           Line(3, 0, 0, 0, 1, 3, "szary"), Line(4, 0, 0, 0, 1, 7, "siedem"),
                           Line(5, 0, 0, 0, 1, 4, "podkreślony"), Line(6, 0, 0, 0, 1, 1, "jeden"),
                           Line(7, 0, 0, 0, 1, 0, "zwykły")},
                          kViewport));
    std::vector<TreeTextStyle> styles;
    for (const TreeRow& row : tree.Rows(kSurface)) {
        styles.push_back(row.style);
    }
    EXPECT_EQ(styles, (std::vector<TreeTextStyle>{selected, normal, grey, grey, underlined,
                                                  underlined, normal}));
    EXPECT_EQ(tree.Entries()[1].look, kLookNormal);

    // The grey entry at the top, selected on loading and then left, is drawn normal.
    tree.Click(21);
    EXPECT_EQ(tree.Rows(kSurface)[0].style, normal);
    EXPECT_EQ(tree.Rows(kSurface)[1].style, selected);
}

TEST(ListTree, FieldsEndAtStarsNotAfterAnAtSign) {
    struct Case {
        const char* line;
        const char* text;
        const char* file;
    };
    const Case cases[] = {
        {"1*0*0*0*1*0*Gwiazdka @* w tekście*\\g.skt*", "Gwiazdka @* w tekście", "\\g.skt"},
        {"1*0*0*0*1*0*Na końcu@**\\k.skt*", "Na końcu@*", "\\k.skt"},
        {"1*0*0*0*1*0*Dalej ignorowane*\\d.skt*reszta*", "Dalej ignorowane", "\\d.skt"},
        {"1*0*0*0*1*0*Bez gwiazdki pliku*\\b.skt", "Bez gwiazdki pliku", ""},
        {"1*0*0*0*1*0*Bez gwiazdek", "", ""},
        {"1*0*0*0*1*0*@*", "", ""},
    };
    for (const Case& c : cases) {
        ListTree tree;
        ASSERT_TRUE(tree.Load({c.line}, kViewport)) << c.line;
        EXPECT_EQ(tree.Entries()[0].text, c.text) << c.line;
        EXPECT_EQ(tree.Entries()[0].fileName, c.file) << c.line;
    }
}

TEST(ListTree, DeeperEntriesSkipTheirVisibilityUnread) {
    ListTree tree;
    ASSERT_TRUE(tree.Load({"1*-1*1*0*1*0*Grupa**", "2*1*0*1*tak*0*Test*\\t.skt*"}, kViewport));
    EXPECT_EQ(tree.Entries()[0].visible, 1);
    EXPECT_EQ(tree.Entries()[1].visible, 0);
    EXPECT_EQ(tree.Entries()[1].fileName, "\\t.skt");
}

TEST(ListTree, MalformedLineKeepsWhatWasReadAndChoosesNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::size_t kept;
    };
    const std::string good = Line(1, 0, 1, 0, 1, 0, "Grupa");
    const std::string child = Line(2, 1, 0, 1, 0, 0, "Test", "\\t.skt");
    const Case cases[] = {
        {"no lines", {}, 0},
        {"id not a number", {good, "x*1*0*1*0*0*Test*\\t.skt*"}, 1},
        {"level with a letter after it", {good, "2*1a*0*1*0*0*Test*\\t.skt*"}, 1},
        {"top-level visibility not a number", {"1*0*0*0*tak*0*Test*\\t.skt*"}, 0},
        {"look empty", {good, child, "3*0*0*0*1**Test*\\t.skt*"}, 2},
        {"star missing in the parent id", {good, "2*1*0*1"}, 1},
        {"number beyond 32 bits", {good, "4294967297*1*0*1*0*0*Test*\\t.skt*"}, 1},
        {"empty line", {good, child, ""}, 2},
    };
    for (const Case& c : cases) {
        ListTree tree;
        EXPECT_FALSE(tree.Load(c.lines, kViewport)) << c.name;
        EXPECT_FALSE(tree.IsLoaded()) << c.name;
        EXPECT_EQ(tree.Entries().size(), c.kept) << c.name;
        EXPECT_EQ(tree.Selected(), -1) << c.name;
        EXPECT_EQ(tree.Rows(kSurface).size(), c.kept > 0 ? 1u : 0u) << c.name;
        EXPECT_FALSE(tree.Click(0)) << c.name;
        EXPECT_FALSE(tree.Click(21)) << c.name;
        EXPECT_FALSE(tree.Toggle()) << c.name;
        CurrentChoice choice;
        choice.testName = "wcześniejszy";
        EXPECT_FALSE(tree.TakeChosenTest("/szkola/Testy.skg", choice)) << c.name;
        EXPECT_EQ(choice.testName, "wcześniejszy") << c.name;
        EXPECT_TRUE(choice.testPath.empty()) << c.name;
    }
}

TEST(ListTree, SignedNumbersAreDecimal) {
    ListTree tree;
    ASSERT_TRUE(tree.Load({"+7*-2*0*-1*+1*+3*Znaki**"}, kViewport));
    const TreeEntry& entry = tree.Entries()[0];
    EXPECT_EQ(entry.id, 7);
    EXPECT_EQ(entry.level, -2);
    EXPECT_EQ(entry.parentId, -1);
    EXPECT_EQ(entry.visible, 1);
    EXPECT_EQ(entry.look, kLookSelected);  // the top entry starts selected
}

TEST(ListTree, ChosenTestJoinsTheListsFolderAndTheFileName) {
    struct Case {
        const char* listPath;
        const char* testPath;
    };
    const Case cases[] = {
        {"/home/uczen/Zestawy/Testy.skg", "/home/uczen/Zestawy/Mat/Figury.skt"},
        {"/Testy.skg", "/Mat/Figury.skt"},
        {"Testy.skg", "/Mat/Figury.skt"},
        {"C:\\Szkola\\Testy.skg", "C:/Szkola/Mat/Figury.skt"},
        {"C:\\Testy.skg", "C://Mat/Figury.skt"},
        {"C:Testy.skg", "C:/Mat/Figury.skt"},
        {"\\\\serwer\\Testy.skg", "//serwer/Mat/Figury.skt"},
    };
    for (const Case& c : cases) {
        ListTree tree;
        ASSERT_TRUE(
            tree.Load({Line(1, 0, 0, 0, 1, 0, "Figury @* koła", "\\Mat\\Figury.skt")}, kViewport));
        CurrentChoice choice;
        ASSERT_TRUE(tree.TakeChosenTest(c.listPath, choice)) << c.listPath;
        EXPECT_EQ(choice.testPath, c.testPath) << c.listPath;
        EXPECT_EQ(choice.testName, "Figury @* koła");
    }
}

TEST(ListTree, GroupIsNoTestAndLeavesTheChoice) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(GroupOfTwo(), kViewport));
    CurrentChoice choice;
    EXPECT_FALSE(tree.TakeChosenTest("/s/Testy.skg", choice));
    tree.Toggle();
    tree.Click(21);
    ASSERT_TRUE(tree.TakeChosenTest("/s/Testy.skg", choice));
    tree.Click(0);
    EXPECT_FALSE(tree.TakeChosenTest("/s/Testy.skg", choice));
    EXPECT_EQ(choice.testPath, "/s/u.skt");
    EXPECT_EQ(choice.testName, "Ułamki");
}

TEST(ListTree, BarAppearsOnlyWhenRowsDoNotFit) {
    struct Case {
        int entries;
        bool shown;
        int max;
    };
    const Case cases[] = {{1, false, 0}, {19, false, 0}, {20, true, 1}, {45, true, 26}};
    for (const Case& c : cases) {
        ListTree tree;
        ASSERT_TRUE(tree.Load(FlatList(c.entries), kViewport));
        const TreeBarSetup bar = tree.Bar();
        EXPECT_EQ(bar.shown, c.shown) << c.entries;
        if (c.shown) {
            EXPECT_EQ(bar.max, c.max);
            EXPECT_EQ(bar.largeChange, 18);
            EXPECT_EQ(bar.smallChange, 17);
            EXPECT_EQ(bar.smallChangeMax, 5);
            EXPECT_EQ(bar.position, 0);
        }
    }
}

TEST(ListTree, BarKeepsTheScrollPositionWithinItsRange) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(FlatList(25), kViewport));
    tree.Scroll(4);
    EXPECT_EQ(tree.Bar().position, 4);
    tree.Scroll(9);
    EXPECT_EQ(tree.Bar().position, 6);
    ASSERT_TRUE(tree.Load(FlatList(25), kViewport));
    EXPECT_EQ(tree.ScrollPosition(), 0);
}

TEST(ListTree, RowsStopAtTheBottomOfTheSurface) {
    ListTree tree;
    ASSERT_TRUE(tree.Load(FlatList(130), kViewport));
    const std::vector<TreeRow> rows = tree.Rows(kSurface);
    ASSERT_EQ(rows.size(), 125u);  // tops 5 .. 1989
    EXPECT_EQ(rows.back().top, 5 + 16 * 124);
    EXPECT_EQ(tree.VisibleCount(), 130);
}

}  // namespace
}  // namespace oplix
