#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "fakes.h"
#include "formats/StudentsListFile.h"
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
using list_testing::Members;
using list_testing::WriteMembers;
using list_testing::Xml;
using testing_fakes::FixedClock;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

constexpr std::string_view kArchiveLine = "Odczyt. Problemy z wczytaniem pliku listy uczniów.";
constexpr std::string_view kXmlLine = "Przetwarzanie listy klas. Błąd wczytania do xml.";
constexpr std::string_view kNoEntryCountLine =
    "Lista jest uszkodzona. Brak informacji o ilości wpisów.";
constexpr std::string_view kHeaderLine =
    "Przetwarzanie listy klas. Błąd dekodowania danych ogólnych.";
constexpr std::string_view kVersion35Line = "Odczyt szkoły ver. 35. Błąd odczytu.";
// 2025-12-10 23:30 UTC: already 11 December in Warsaw.
constexpr std::time_t kLateEvening = 1765409400;

// The time zone of this process for one test.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            previous_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

Pupil P(std::string firstName, std::string surname) {
    return Pupil{std::move(firstName), std::move(surname)};
}

ClassRecord Class(std::string name, std::string folder, std::string time,
                  const std::vector<Pupil>& pupils) {
    ClassRecord record;
    record.className = std::move(name);
    record.resultFolder = std::move(folder);
    record.classTime = std::move(time);
    record.pupilCount = static_cast<int>(pupils.size());
    std::copy(pupils.begin(), pupils.end(), record.pupils.begin());
    return record;
}

// Three classes: one with its own scale and a working time, one of 24 pupils, one empty.
StudentsList SampleList() {
    StudentsList list;
    list.listType = "Szkoła podstawowa";
    list.listDate = "2025-09-01";
    list.listRemarks = "Rok szkolny 2025/2026 & <uwagi>";
    list.entryCount = 31;
    ClassRecord first = Class("1a", "\\Wyniki\\1a", "45",
                              {P("Zofia", "Wójcik"), P("Łukasz", "Żak-Ćwikła"), P("Jan", "")});
    first.ownScale = 1;
    first.thresholds = {95, 85, 70, 50, 30};
    std::vector<Pupil> many;
    for (int i = 0; i < 24; ++i) {
        many.push_back(P("Uczeń" + std::to_string(i), "Nowak von Dąbrowski " + std::to_string(i)));
    }
    ClassRecord second = Class("2b", "D:\\Szkoła\\wyniki 2b", "", many);
    second.thresholds = {90, 75, 60, 45, 0};
    list.classes = {first, second, Class("3c", "", "30", {})};
    list.classCount = 3;
    return list;
}

void ExpectSameClass(const ClassRecord& read, const ClassRecord& expected) {
    EXPECT_EQ(read.className, expected.className);
    EXPECT_EQ(read.resultFolder, expected.resultFolder);
    EXPECT_EQ(read.classTime, expected.classTime);
    EXPECT_EQ(read.pupilCount, expected.pupilCount);
    EXPECT_EQ(read.ownScale, expected.ownScale);
    EXPECT_EQ(read.thresholds, expected.thresholds);
    for (std::size_t j = 0; j < read.pupils.size(); ++j) {
        EXPECT_EQ(read.pupils[j].firstName, expected.pupils[j].firstName) << "pupil " << j;
        EXPECT_EQ(read.pupils[j].surname, expected.pupils[j].surname) << "pupil " << j;
    }
}

void ExpectSameList(const StudentsList& read, const StudentsList& expected) {
    EXPECT_EQ(read.listType, expected.listType);
    EXPECT_EQ(read.listDate, expected.listDate);
    EXPECT_EQ(read.listRemarks, expected.listRemarks);
    EXPECT_EQ(read.entryCount, expected.entryCount);
    EXPECT_EQ(read.classCount, expected.classCount);
    ASSERT_EQ(read.classes.size(), expected.classes.size());
    for (std::size_t n = 0; n < read.classes.size(); ++n) {
        SCOPED_TRACE("class " + std::to_string(n));
        ExpectSameClass(read.classes[n], expected.classes[n]);
    }
}

class StudentsListReading : public ::testing::Test {
protected:
    StudentsListReading() {
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.SetLevel(3);
        choice.classIndex = 2;
        choice.pupilIndex = 5;
    }

    std::vector<std::string> Messages() const {
        return JournalMessages(folder.File("Dziennik.txt"));
    }

    bool Read(StudentsList& list) { return ReadStudentsList(path, list, choice, journal, clock); }

    StudentsList ReadXml(std::string_view xml) {
        WriteMembers(path, {{"Selu0.xml", Xml(xml)}});
        StudentsList list;
        EXPECT_TRUE(Read(list)) << xml;
        return list;
    }

    ScopedTimeZone zone{"CET-1"};
    ScratchFolder folder;
    std::string path = folder.File("uczniowie.sku");
    FixedClock clock{kLateEvening};
    Journal journal{clock};
    CurrentChoice choice;
};

Status Write(const ListForm& form, const std::string& path, const StudentsList& list) {
    return form.version == 35 ? WriteStudentsList35(path, list)
                              : WriteStudentsList40(path, list, form.encoded, form.utf16);
}

TEST_F(StudentsListReading, EveryFormReadsBackWhatWasWritten) {
    for (const ListForm& form : kForms) {
        SCOPED_TRACE(form.name);
        StudentsList written = SampleList();
        if (form.encoded || (form.utf16 && form.version == 40)) {
            written.classes[2].pupils[0] = P("Αλέξανδρος", "Παπαδόπουλος");
            written.classes[2].pupilCount = 1;
        }
        if (form.encoded) {
            written.classes[2].className = "  3c ";
        }
        ASSERT_TRUE(Write(form, path, written).ok());
        StudentsList read = SampleList();
        ASSERT_TRUE(Read(read));
        StudentsList expected = written;
        if (form.version == 35) {
            // Only classes, their folders, times and pupils are stored.
            expected.listType = "";
            expected.listDate = "2025-12-11";
            expected.listRemarks = "";
            expected.entryCount = 0;
            for (ClassRecord& record : expected.classes) {
                record.ownScale = 0;
                record.thresholds = {};
            }
        }
        ExpectSameList(read, expected);
        EXPECT_TRUE(IsReleased(path));
    }
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

TEST_F(StudentsListReading, Version40CountsDecideWhatIsRead) {
    StudentsList list = ReadXml(
        "<szk><ilw>7</ilw><ilk>2</ilk>"
        "<kl0><nm>1a</nm><ilu>3</ilu><ucz0><imu>Ala</imu><nzu>Kot</nzu></ucz0>"
        "<ucz2><imu>Ola</imu><nzu>Mysz</nzu></ucz2><ucz3><imu>Ewa</imu></ucz3></kl0>"
        "<kl1><nm>1b</nm><ilu>-2</ilu><ucz0><imu>Ignorowany</imu></ucz0></kl1>"
        "<kl2><nm>1c</nm><ilu>1</ilu></kl2></szk>");
    EXPECT_EQ(list.entryCount, 7);
    EXPECT_EQ(list.classCount, 2);
    ASSERT_EQ(list.classes.size(), 2u);
    const ClassRecord& first = list.classes[0];
    EXPECT_EQ(first.className, "1a");
    EXPECT_EQ(first.pupilCount, 3);
    EXPECT_EQ(first.pupils[0].firstName, "Ala");
    EXPECT_EQ(first.pupils[1].firstName, "");
    EXPECT_EQ(first.pupils[1].surname, "");
    EXPECT_EQ(first.pupils[2].surname, "Mysz");
    EXPECT_EQ(first.pupils[3].firstName, "");
    EXPECT_EQ(list.classes[1].className, "1b");
    EXPECT_EQ(list.classes[1].pupilCount, 0);
    EXPECT_EQ(list.classes[1].pupils[0].firstName, "");
    EXPECT_EQ(Messages(), std::vector<std::string>());

    for (const char* xml : {"<szk><ilw>0</ilw><ilk>-5</ilk><kl0><nm>x</nm></kl0></szk>",
                            "<szk><ilw>0</ilw><kl0><nm>x</nm></kl0></szk>",
                            "<szk><ilw>0</ilw><ilk>jeden</ilk><kl0><nm>x</nm></kl0></szk>"}) {
        list = ReadXml(xml);
        EXPECT_EQ(list.classCount, 0) << xml;
        EXPECT_TRUE(list.classes.empty()) << xml;
    }
}

TEST_F(StudentsListReading, ClassScaleAndAbsentHeaderFieldsAreTakenAsStored) {
    StudentsList list = ReadXml(
        "<szk><cd>fa</cd><ilw>1</ilw><ilk>1</ilk><kl0><nm>4d</nm><tim>40</tim>"
        "<skl><tk>1</tk><cel>95</cel><db>x</db><dp>-3</dp></skl></kl0></szk>");
    EXPECT_EQ(list.listType, "");
    EXPECT_EQ(list.listDate, "");  // an absent dtu replaces today's date
    ASSERT_EQ(list.classes.size(), 1u);
    EXPECT_EQ(list.classes[0].ownScale, 1);
    EXPECT_EQ(list.classes[0].thresholds, (std::array<int, 5>{95, 0, 0, 0, -3}));
    EXPECT_EQ(list.classes[0].classTime, "40");
}

TEST_F(StudentsListReading, MoreThan36PupilsKeepsTheFirst36AndSaysSo) {
    std::string xml = "<szk><ilw>0</ilw><ilk>1</ilk><kl0><nm>5e</nm><ilu>37</ilu>";
    std::vector<std::optional<std::string>> member = {"5e", "-", "\\Wyniki", "45"};
    for (int j = 0; j < 37; ++j) {
        const std::string n = std::to_string(j);
        xml += "<ucz" + n + "><imu>Imię" + n + "</imu><nzu>Nazwisko" + n + "</nzu></ucz" + n + ">";
        member.push_back("Imię" + n + " Nazwisko" + n);
    }
    xml += "</kl0></szk>";
    const Members forms[] = {
        {{"Selu0.xml", Xml(xml)}},
        {{"Selu0.txp", Lines35({"x", "y", "5e"})}, {"5e.txp", Lines35(member)}},
    };
    const std::string line =
        "Lista uczniów. Klasa 5e ma więcej niż 36 uczniów; pominięto nadmiarowych.";
    std::vector<std::string> expectedMessages;
    for (const Members& members : forms) {
        WriteMembers(path, members);
        StudentsList list;
        ASSERT_TRUE(Read(list));
        ASSERT_EQ(list.classes.size(), 1u);
        EXPECT_EQ(list.classes[0].pupilCount, 36);
        EXPECT_EQ(list.classes[0].pupils[35].firstName, "Imię35");
        EXPECT_EQ(list.classes[0].pupils[35].surname, "Nazwisko35");
        expectedMessages.push_back(line);
        EXPECT_EQ(Messages(), expectedMessages);
    }
    // Level 1 is a warning: a journal set to errors only leaves it out.
    journal.SetLevel(0);
    ASSERT_TRUE(Read(*std::make_unique<StudentsList>()));
    EXPECT_EQ(Messages(), expectedMessages);
}

TEST_F(StudentsListReading, Version35PupilLinesSplitIntoNames) {
    const std::string longSurname(120, 'z');
    WriteMembers(path,
                 {{"Selu0.txp", Lines35({"x", "y", "kl0", "KL1", "kl2"})},
                  {"kl0.txp", Lines35({"1a", std::nullopt, "\\Wyniki\\1a", "45", "Jan  Kowalski",
                                       "Anna   Maria Nowak  ", std::nullopt, "", "   ", "Zbigniew",
                                       "Ewa " + longSurname, " Żółć"})},
                  {"kl1.TXP", Lines35({"1b", "", "", ""})},
                  {"kl2.txp", Lines35({"1c", "", "C:\\w", "30", "Piotr Wiśniewski"})}});
    StudentsList list;
    ASSERT_TRUE(Read(list));
    EXPECT_EQ(list.classCount, 3);
    EXPECT_EQ(list.entryCount, 0);
    EXPECT_EQ(list.listDate, "2025-12-11");
    ASSERT_EQ(list.classes.size(), 3u);
    const ClassRecord& first = list.classes[0];
    EXPECT_EQ(first.className, "1a");
    EXPECT_EQ(first.resultFolder, "\\Wyniki\\1a");
    EXPECT_EQ(first.classTime, "45");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Jan", "Kowalski"}, {"Anna", "Maria Nowak"},
        {"Zbigniew", ""},    {"Ewa", std::string(100, 'z')},
        {"", "Żółć"},
    };
    ASSERT_EQ(first.pupilCount, static_cast<int>(expected.size()));
    for (std::size_t j = 0; j < expected.size(); ++j) {
        EXPECT_EQ(first.pupils[j].firstName, expected[j].first) << j;
        EXPECT_EQ(first.pupils[j].surname, expected[j].second) << j;
    }
    EXPECT_EQ(list.classes[1].className, "1b");
    EXPECT_EQ(list.classes[1].pupilCount, 0);
    EXPECT_EQ(list.classes[2].pupils[0].surname, "Wiśniewski");
    // The reader leaves the choice at the last slot it filled; the callers reset it.
    EXPECT_EQ(choice.classIndex, 2);
    EXPECT_EQ(choice.pupilIndex, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

std::string ManyClassElements(int count) {
    std::string elements;
    for (int n = 0; n < count; ++n) {
        elements += "<kl" + std::to_string(n) + "><nm>k</nm></kl" + std::to_string(n) + ">";
    }
    return elements;
}

TEST_F(StudentsListReading, EachFailureHasItsJournalLine) {
    const auto xml = [](std::string text) {
        return [text](const std::string& p) { WriteMembers(p, {{"Selu0.xml", Xml(text)}}); };
    };
    const auto members = [](Members list) {
        return [list](const std::string& p) { WriteMembers(p, list); };
    };
    const std::string bad(kUndecodable);
    const std::string classes =
        "<kl0><nm>1a</nm><ilu>1</ilu><ucz0><imu>Ala</imu><nzu>Kot</nzu></ucz0></kl0>";
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
        std::string line;
        bool version40;
    } cases[] = {
        {"no file", [](const std::string&) {}, std::string(kArchiveLine), true},
        {"no description member", members({{"Selt0.xml", Xml("<szk/>")}}), std::string(kXmlLine),
         true},
        {"too short for an archive",
         [](const std::string& p) { WriteFileBytes(p, BytesOf("<szk/>")); },
         std::string(kArchiveLine), true},
        {"not an archive",
         [](const std::string& p) { WriteFileBytes(p, BytesOf("<szk><ilw>0</ilw></szk>")); },
         std::string(kXmlLine), true},
        {"description member past the end of the file",
         [](const std::string& p) { WriteFileBytes(p, ArchiveWithDamagedEntry("Selu0.xml")); },
         std::string(kXmlLine), true},
        {"no ilw although the classes are well formed",
         xml("<szk><ilk>1</ilk>" + classes + "</szk>"), std::string(kNoEntryCountLine), true},
        {"ilw not a number", xml("<szk><ilw>7a</ilw><ilk>1</ilk>" + classes + "</szk>"),
         std::string(kNoEntryCountLine), true},
        {"ilw undecodable", xml("<szk><cd>tr</cd><ilw>" + bad + "</ilw></szk>"),
         std::string(kNoEntryCountLine), true},
        {"type undecodable", xml("<szk><cd>tr</cd><ilw>MAA=</ilw><typ>" + bad + "</typ></szk>"),
         std::string(kHeaderLine), true},
        {"more classes declared than the list has elements",
         xml("<szk><ilw>0</ilw><ilk>2147483647</ilk>" + classes + "</szk>"),
         std::string(kHeaderLine), true},
        {"one class too many", xml("<szk><ilw>0</ilw><ilk>4</ilk>" + classes + "</szk>"),
         std::string(kHeaderLine), true},
        {"more classes than any school has",
         xml("<szk><ilw>0</ilw><ilk>1001</ilk>" + ManyClassElements(1001) + "</szk>"),
         std::string(kHeaderLine), true},
        {"class time undecodable",
         xml("<szk><cd>tr</cd><ilw>MAA=</ilw><ilk>MgA=</ilk><kl0><nm>MQBhAA==</nm></kl0>"
             "<kl1><nm>MgBiAA==</nm><tim>" +
             bad + "</tim></kl1></szk>"),
         "Kodowanie klasy. Ver 40. Błąd dekodowania klasy 2b.", true},
        {"pupil surname undecodable",
         xml("<szk><cd>tr</cd><ilw>MAA=</ilw><ilk>MQA=</ilk><kl0><nm>MQBhAA==</nm><ilu>MQA=</ilu>"
             "<ucz0><nzu>" +
             bad + "</nzu></ucz0></kl0></szk>"),
         "Kodowanie klasy. Ver 40. Błąd dekodowania klasy 1a.", true},
        {"version-35 index past the end of the file",
         [](const std::string& p) { WriteFileBytes(p, ArchiveWithDamagedEntry("Selu0.txp")); },
         std::string(kVersion35Line), false},
        {"class member missing",
         members({{"Selu0.txp", Lines35({"x", "y", "kl0", "kl1"})},
                  {"kl0.txp", Lines35({"1a", "", "", ""})}}),
         std::string(kVersion35Line), false},
        {"class member of three lines",
         members({{"Selu0.txp", Lines35({"x", "y", "kl0"})}, {"kl0.txp", Lines35({"1a", "", ""})}}),
         std::string(kVersion35Line), false},
        {"empty line among the class names",
         members({{"Selu0.txp", Lines35({"x", "y", "kl0", std::nullopt})},
                  {"kl0.txp", Lines35({"1a", "", "", ""})}}),
         std::string(kVersion35Line), false},
        {"empty class-name line",
         members({{"Selu0.txp", Lines35({"x", "y", "kl0"})},
                  {"kl0.txp", Lines35({std::nullopt, "", "", ""})}}),
         std::string(kVersion35Line), false},
        {"empty result-folder line",
         members({{"Selu0.txp", Lines35({"x", "y", "kl0"})},
                  {"kl0.txp", Lines35({"1a", "", std::nullopt, "45", "Jan Nowak"})}}),
         std::string(kVersion35Line), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder caseFolder;
        Journal caseJournal{clock};
        caseJournal.SetFile(caseFolder.File("Dziennik.txt"));
        caseJournal.SetLevel(3);
        const std::string file = caseFolder.File("uczniowie.sku");
        c.make(file);
        CurrentChoice caseChoice;
        caseChoice.classIndex = 1;
        caseChoice.pupilIndex = 4;
        StudentsList list;
        EXPECT_FALSE(ReadStudentsList(file, list, caseChoice, caseJournal, clock));
        EXPECT_EQ(JournalMessages(caseFolder.File("Dziennik.txt")),
                  std::vector<std::string>{c.line});
        if (c.version40) {
            EXPECT_EQ(caseChoice.classIndex, -1);
            EXPECT_EQ(caseChoice.pupilIndex, -1);
        }
        EXPECT_TRUE(IsReleased(file));
    }
}

TEST(StudentsListWriting, RefusesListsThatWouldNotReadBackTheSame) {
    ScratchFolder folder;
    const std::string path = folder.File("uczniowie.sku");
    const auto with = [](auto change) {
        StudentsList list = SampleList();
        change(list);
        return list;
    };
    const struct {
        const char* name;
        ListForm form;
        StudentsList list;
    } cases[] = {
        {"class count differs from the classes", kForms[2],
         with([](StudentsList& l) { l.classCount = 2; })},
        {"37 pupils", kForms[3], with([](StudentsList& l) { l.classes[1].pupilCount = 37; })},
        {"negative pupil count", kForms[4],
         with([](StudentsList& l) { l.classes[1].pupilCount = -1; })},
        {"surrounding blank in a plain field", kForms[1],
         with([](StudentsList& l) { l.classes[0].pupils[1].surname += " "; })},
        {"character outside Windows-1250 in an 8-bit plain document", kForms[0],
         with([](StudentsList& l) { l.listRemarks = "Ωmega"; })},
        {"version-35 first name with a space", kForms[4],
         with([](StudentsList& l) { l.classes[0].pupils[0].firstName = "Anna Maria"; })},
        {"version-35 pupil without names", kForms[4],
         with([](StudentsList& l) { l.classes[0].pupils[0] = Pupil{}; })},
        {"version-35 surname over 100 characters", kForms[4],
         with([](StudentsList& l) { l.classes[0].pupils[0].surname = std::string(101, 'z'); })},
        {"version-35 line break in a folder", kForms[4],
         with([](StudentsList& l) { l.classes[2].resultFolder = "a\nb"; })},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Write(c.form, path, c.list).ok()) << c.name;
    }
    // The same lists are fine where the form can hold them.
    EXPECT_TRUE(Write(kForms[2], path, cases[3].list).ok());
    EXPECT_TRUE(Write(kForms[1], path, cases[4].list).ok());
    EXPECT_TRUE(Write(kForms[0], path, cases[5].list).ok());
    EXPECT_TRUE(Write(kForms[4], path, with([](StudentsList& l) {
                          l.classes[0].pupils[0].surname = std::string(100, 'z');
                      }))
                    .ok());
}

}  // namespace
}  // namespace oplix
