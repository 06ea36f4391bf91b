#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Journal.h"
#include "fakes.h"
#include "formats/TestsListFile.h"
#include "list_test_support.h"
#include "test_files.h"

namespace oplix {
namespace {

using list_testing::ArchiveWithDamagedEntry;
using list_testing::BytesOf;
using list_testing::IsReleased;
using list_testing::JournalMessages;
using list_testing::kForms;
using list_testing::kUndecodable;
using list_testing::Lines35;
using list_testing::ListForm;
using list_testing::WriteMembers;
using list_testing::Xml;
using testing_fakes::RecordingMessageBox;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

constexpr std::string_view kArchiveLine =
    "Odczyt listy testów. Błąd wczytania spakowanej zawartości.";
constexpr std::string_view kVersion40Line = "Odczyt listy testów. Ver 40. Błąd odczytu.";
constexpr std::string_view kVersion35Line = "Odczyt listy testów. Ver 35. Błąd odczytu.";
constexpr std::string_view kDamagedBox =
    "Błąd odczytu listy.\rPrawdopodobnie lista jest uszkodzona.";

// A plausible list: two groups with tests below them, stars inside a text, XML specials.
TestsList SampleList() {
    TestsList list;
    list.listName = "Zestaw testów — gimnazjum";
    list.listDate = "2025-09-01";
    list.listRemarks = "Testy z fizyki & języka polskiego <klasy 1-3>";
    list.entries = {
        "1*0*2*0*1*0*Fizyka**",
        "2*1*0*1*0*0*Prawa Newtona*\\Fizyka\\newton.skt*",
        "3*1*0*1*0*3*Ruch jednostajny*\\Fizyka\\ruch.skt*",
        "4*0*1*0*1*0*Język polski**",
        "5*1*0*4*0*4*Ortografia: ó czy u @* ż czy rz*\\Polski\\ortografia.skt*",
    };
    return list;
}

class TestsListReading : public ::testing::Test {
protected:
    TestsListReading() {
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.SetLevel(3);
    }

    std::vector<std::string> Messages() const {
        return JournalMessages(folder.File("Dziennik.txt"));
    }

    bool Read(const std::string& file, TestsList& list) {
        return ReadTestsList(file, list, journal, box);
    }

    // Reads a version-40 list whose Selt0.xml is the given text, expecting success.
    TestsList ReadXml(std::string_view xml) {
        WriteMembers(path, {{"Selt0.xml", Xml(xml)}});
        TestsList list;
        EXPECT_TRUE(Read(path, list)) << xml;
        EXPECT_EQ(Messages(), std::vector<std::string>());
        return list;
    }

    ScratchFolder folder;
    std::string path = folder.File("lista.skg");
    Journal journal;
    RecordingMessageBox box;
};

Status Write(const ListForm& form, const std::string& path, const TestsList& list) {
    return form.version == 35 ? WriteTestsList35(path, list)
                              : WriteTestsList40(path, list, form.encoded, form.utf16);
}

TEST_F(TestsListReading, EveryFormReadsBackWhatWasWritten) {
    for (const ListForm& form : kForms) {
        SCOPED_TRACE(form.name);
        TestsList written = SampleList();
        if (form.encoded || (form.utf16 && form.version == 40)) {
            written.entries.push_back("6*0*0*0*1*0*Koło: obwód = 2πr*\\Matematyka\\kolo.skt*");
        }
        if (form.version == 35) {
            // Only the entries are stored; an empty entry still has a line of its own.
            written.entries.push_back("");
            written.entries.push_back("7*0*0*0*1*0*Ostatni**");
        }
        ASSERT_TRUE(Write(form, path, written).ok());
        TestsList read;
        read.entries = {"left over"};
        read.listName = "left over";
        ASSERT_TRUE(Read(path, read));
        TestsList expected = written;
        if (form.version == 35) {
            expected.listName = "";
            expected.listDate = "0";
            expected.listRemarks = "";
        }
        EXPECT_EQ(read.listName, expected.listName);
        EXPECT_EQ(read.listDate, expected.listDate);
        EXPECT_EQ(read.listRemarks, expected.listRemarks);
        EXPECT_EQ(read.entries, expected.entries);
        EXPECT_TRUE(IsReleased(path));
    }
    EXPECT_EQ(Messages(), std::vector<std::string>());
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(TestsListReading, EntryCountDecidesWhichEntriesAreRead) {
    const struct {
        const char* xml;
        std::vector<std::string> entries;
    } cases[] = {
        {"<lst><cd>fa</cd><ilw>0</ilw><dx0>1*0*0*0*1*0*A**</dx0></lst>", {}},
        {"<lst><cd>fa</cd><dx0>1*0*0*0*1*0*A**</dx0></lst>", {}},
        {"<lst><ilw>-4</ilw><dx0>1*0*0*0*1*0*A**</dx0></lst>", {}},
        {"<lst><ilw>dwa</ilw><dx0>1*0*0*0*1*0*A**</dx0></lst>", {}},
        {"<lst><ilw>3</ilw><dx0>a</dx0><dx1>b</dx1><dx2>c</dx2><dx3>d</dx3></lst>",
         {"a", "b", "c"}},
        {"<lst><ilw>3</ilw><dx0>a</dx0><dx2>c</dx2></lst>", {"a", "", "c"}},
        // Elements are found by name, in any order and letter case.
        {"<LST><DX1>b</DX1><Ilw>2</Ilw><dx0>a</dx0></LST>", {"a", "b"}},
        // As many entries as the list has elements is the most it may declare.
        {"<lst><ilw>2</ilw><dx0>a</dx0></lst>", {"a", ""}},
        // A line is handed on exactly, however odd.
        {"<lst><ilw>1</ilw><dx0>x*@*y**9*</dx0></lst>", {"x*@*y**9*"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadXml(c.xml).entries, c.entries) << c.xml;
    }
}

TEST_F(TestsListReading, HeaderFieldsComeFromTheirElementsAndAbsentOnesAreEmpty) {
    TestsList list = ReadXml("<lst><name>Fizyka</name><uwg>Uwagi</uwg></lst>");
    EXPECT_EQ(list.listName, "Fizyka");
    EXPECT_EQ(list.listDate, "");
    EXPECT_EQ(list.listRemarks, "Uwagi");
    // cd other than "tr" reads every field as it stands.
    list = ReadXml("<lst><cd>TR</cd><ilw>1</ilw><dx0>MQA=</dx0><dtu>MQA=</dtu></lst>");
    EXPECT_EQ(list.entries, std::vector<std::string>{"MQA="});
    EXPECT_EQ(list.listDate, "MQA=");
}

TEST_F(TestsListReading, PartlyParsedDocumentIsReadAsFarAsItGoes) {
    TestsList list = ReadXml("<lst><ilw>2</ilw><dx0>a</dx0><dx1>b</dx1><name>N</na");
    EXPECT_EQ(list.entries, (std::vector<std::string>{"a", "b"}));
}

TEST_F(TestsListReading, Version35ListWithOnlyItsFirstLineHasNoEntries) {
    WriteMembers(path, {{"Selt0.txp", Lines35({"nagłówek"})}});
    TestsList list = SampleList();
    ASSERT_TRUE(Read(path, list));
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(list.listName, "");
    EXPECT_EQ(list.listDate, "0");
    EXPECT_EQ(list.listRemarks, "");
}

TEST_F(TestsListReading, Version35MemberWinsOverVersion40) {
    WriteMembers(path, {{"Selt0.xml", Xml("<lst><ilw>1</ilw><dx0>z xml</dx0></lst>")},
                        {"SELT0.TXP", Lines35({"x", "z txp"})}});
    TestsList list;
    ASSERT_TRUE(Read(path, list));
    EXPECT_EQ(list.entries, std::vector<std::string>{"z txp"});
}

TEST_F(TestsListReading, EachFailureHasItsJournalLineAndBox) {
    const std::string longLine(600, 'a');
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
        std::string_view line;
        bool box;
    } cases[] = {
        {"no file", [](const std::string&) {}, kArchiveLine, false},
        {"too short for an archive",
         [](const std::string& p) { WriteFileBytes(p, BytesOf("<lst/>")); }, kArchiveLine, false},
        {"not an archive",
         [](const std::string& p) { WriteFileBytes(p, BytesOf("<lst><ilw>0</ilw></lst>")); },
         kArchiveLine, false},
        {"no description member",
         [](const std::string& p) {
             WriteMembers(p, {{"Serr0.xml", Xml("<lst/>")}});
         },
         kArchiveLine, false},
        {"description member past the end of the file",
         [](const std::string& p) { WriteFileBytes(p, ArchiveWithDamagedEntry("Selt0.xml")); },
         kArchiveLine, false},
        {"version-35 member past the end of the file",
         [](const std::string& p) { WriteFileBytes(p, ArchiveWithDamagedEntry("Selt0.txp")); },
         kArchiveLine, false},
        {"undecodable name",
         [](const std::string& p) {
             WriteMembers(p, {{"Selt0.xml", Xml("<lst><cd>tr</cd><name>" +
                                                std::string(kUndecodable) + "</name></lst>")}});
         },
         kVersion40Line, true},
        {"undecodable entry",
         [](const std::string& p) {
             WriteMembers(p, {{"Selt0.xml", Xml("<lst><cd>tr</cd><ilw>MgA=</ilw><dx0>YQA=</dx0>"
                                                "<dx1>" +
                                                std::string(kUndecodable) + "</dx1></lst>")}});
         },
         kVersion40Line, true},
        {"more entries declared than the list has elements",
         [](const std::string& p) {
             WriteMembers(p, {{"Selt0.xml", Xml("<lst><ilw>2147483647</ilw><dx0>a</dx0></lst>")}});
         },
         kVersion40Line, true},
        {"one entry too many",
         [](const std::string& p) {
             WriteMembers(p, {{"Selt0.xml", Xml("<lst><ilw>3</ilw><dx0>a</dx0></lst>")}});
         },
         kVersion40Line, true},
        {"empty version-35 line",
         [](const std::string& p) {
             WriteMembers(p, {{"Selt0.txp", Lines35({"x", "a", std::nullopt, "b"})}});
         },
         kVersion35Line, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder caseFolder;
        Journal caseJournal;
        caseJournal.SetFile(caseFolder.File("Dziennik.txt"));
        caseJournal.SetLevel(3);
        RecordingMessageBox caseBox;
        const std::string file = caseFolder.File("lista.skg");
        c.make(file);
        TestsList list;
        EXPECT_FALSE(ReadTestsList(file, list, caseJournal, caseBox));
        EXPECT_EQ(JournalMessages(caseFolder.File("Dziennik.txt")),
                  std::vector<std::string>{std::string(c.line)});
        ASSERT_EQ(caseBox.shown.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(caseBox.shown[0].kind, MessageKind::Close);
            EXPECT_EQ(caseBox.shown[0].icon, MessageIcon::Warning);
            EXPECT_EQ(caseBox.shown[0].text, kDamagedBox);
        }
        EXPECT_TRUE(IsReleased(file));
    }
}

TEST(TestsListWriting, RefusesListsThatWouldNotReadBackTheSame) {
    ScratchFolder folder;
    const std::string path = folder.File("lista.skg");
    const auto with = [](auto change) {
        TestsList list = SampleList();
        change(list);
        return list;
    };
    const struct {
        const char* name;
        ListForm form;
        TestsList list;
    } cases[] = {
        {"surrounding blank in a plain field", kForms[0],
         with([](TestsList& l) { l.listName = " Fizyka"; })},
        {"trailing line break in a plain entry", kForms[1],
         with([](TestsList& l) { l.entries[1] += "\n"; })},
        {"character outside Windows-1250 in an 8-bit plain document", kForms[0],
         with([](TestsList& l) { l.entries[0] = "2πr"; })},
        {"more empty entries than other elements", kForms[2], with([](TestsList& l) {
             l = TestsList{};
             l.listDate = "";
             l.entries = {"", "", ""};
         })},
        {"line break in a version-35 entry", kForms[4],
         with([](TestsList& l) { l.entries[2] = "a\r\nb"; })},
        {"version-35 entry over 500 bytes", kForms[4],
         with([](TestsList& l) { l.entries[2] = std::string(501, 'x'); })},
        {"character outside Windows-1250 in version 35", kForms[4],
         with([](TestsList& l) { l.entries[2] = "π"; })},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Write(c.form, path, c.list).ok()) << c.name;
    }
    // The same lists are fine where the form can hold them.
    EXPECT_TRUE(Write(kForms[2], path, cases[0].list).ok());
    EXPECT_TRUE(Write(kForms[3], path, cases[2].list).ok());
    EXPECT_TRUE(Write(kForms[4], path, cases[3].list).ok());
}

}  // namespace
}  // namespace oplix
