// Stored forms written out byte for byte, not by the program's own writers: files that exist in
// schools must go on reading the same whatever the writers and the round-trip tests do.

#include <gtest/gtest.h>

#include <locale.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/SettingsFile.h"
#include "fakes.h"
#include "formats/ResultFile.h"
#include "formats/StudentsListFile.h"
#include "formats_testfile_support.h"
#include "list_test_support.h"
#include "storage/Cp1250.h"
#include "storage/Scrambling.h"
#include "test_files.h"

#if defined(__SANITIZE_ADDRESS__)
// glibc's newlocale leaks the list of folders it parses out of LOCPATH, once a call; the locale
// the test builds into a scratch folder is found only through LOCPATH.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}
#endif

namespace oplix {
namespace {

using list_testing::BytesOf;
using list_testing::Lines35;
using list_testing::WriteMembers;
using testing_fakes::FixedClock;
using testing_fakes::RecordingMessageBox;
using testing_fakes::ScopedEnvironmentVariable;
using testing_files::JournalMessages;
using testing_files::ReadFileBytes;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;
using testing_testfile::ReadHarness;

// Values in Windows-1250 with their scrambled forms, as settings files and lists hold them.
struct PinnedText {
    std::string scrambled;
    std::string value;  // UTF-8
};

const PinnedText kSettingsAndListsTexts[] = {
    {"\xA0xy\xE7\x82\x6D\xBD\xF3\x32", "Probex"},
    {"\xA1xyz\x37\x6A\x46\x6A\xF4\x6A\xEA\xEA\x58\x6A", "9080705540"},
    {"\xA7wxyz\xBC", "1"},
    {"\x93vwxyz\x6A", "0"},
    {"\xFExyz", ""},
    {"\xA0xy\xDF\xDF\x71\xF3\x82\x33\xF3\x82\xDF\x33\x48\xDB\x28\xD3\x28\xDF\x58\x25",
     "\\\\serwer\\wyniki\\4a"},
    {"\xA1xyz\x7A\x6D\xC7\x28\x25\x20\x4B\x28\xE0\xDB\x28\xF3\x33\x71\xD3\x25", "Zofia Wiśniewska"},
};

const PinnedText kVersion35TestTexts[] = {
    {"\xA0xy\xA2\x82\xDE\xC8\x80\xD4\x20\x65\x75\x2D\x80\x82\x61", "Ułamki zwykłe"},
    {"\xA7wxyz\xF2\x88\x8E\x4F\xDE\x20\x55\x64\x39\xA5\xE7", "Łucja Gęślą"},
    {"\x93vwxyz\xA6\xD3\xA6\xD3", "1010"},
    {"\xA1xyz\xDB\x6C\x4A\xDE\x4F\x20\xBD\x75\xD4\xDE\x70\xE3\x80\xD4\x2E", "Dodaj ćwiartki."},
};

TEST(StoredScrambledTexts, FixedBytesReadAsTheirValues) {
    for (const PinnedText& text : kSettingsAndListsTexts) {
        const Result<std::string> value = UnscrambleText(text.scrambled);
        ASSERT_TRUE(value.ok());
        EXPECT_EQ(Cp1250ToUtf8(*value), text.value);
    }
    for (const PinnedText& text : kVersion35TestTexts) {
        const Result<std::string> value = UnscrambleTestText(text.scrambled);
        ASSERT_TRUE(value.ok());
        EXPECT_EQ(Cp1250ToUtf8(*value), text.value);
    }
}

TEST(StoredScrambledTexts, ScramblingWritesThePinnedBody) {
    for (const PinnedText& text : kSettingsAndListsTexts) {
        if (text.value.empty()) {
            continue;
        }
        const std::size_t fillers = text.scrambled[0] == '\xA0'   ? 2
                                    : text.scrambled[0] == '\xA1' ? 3
                                    : text.scrambled[0] == '\xA7' ? 4
                                                                  : 5;
        const std::string body = text.scrambled.substr(1 + fillers);
        const Result<std::string> scrambled = ScrambleText(Utf8ToCp1250(text.value));
        ASSERT_TRUE(scrambled.ok());
        ASSERT_GT(scrambled->size(), body.size());
        EXPECT_EQ(scrambled->substr(scrambled->size() - body.size()), body) << text.value;
    }
}

TEST(StoredSettingsFile, AFileWrittenByHandReadsEveryKey) {
    ScratchFolder folder;
    const std::string path = folder.File("Test.ini");
    WriteFileBytes(
        path,
        BytesOf("<Ini>\r\n"
                "\t<ed>\xA0xy\xE7\x82\x6D\xBD\xF3\x32</ed>\r\n"
                // /home/nauczyciel/Listy/Szkoła.skg
                "\t<sct>\xA1xyz\x2F\x64\x6D\x74\xF3\x2F\xDB\x25\xC3\xF5\x78\x48\xF5\x28\xF3\xE3\x2F"
                "\x36\x28\x71\x4C\x48\x2F\x70\x78\xD3\x6D\x51\x25\x2E\x71\xD3\xAE</sct>\r\n"
                "\t<scl>\xFExyz</scl>\r\n"
                "\t<al>\xA7wxyz\x6A</al>\r\n"
                "\t<fn>\x93vwxyz\xBC</fn>\r\n"
                "\t<opl>\xA0xy\x6A</opl>\r\n"
                "\t<chl>\xA0xy\x6A</chl>\r\n"
                "\t<woc>\xA0xy\xBC</woc>\r\n"
                "\t<wz>\xA0xy\x6A</wz>\r\n"
                "\t<sk>\xA1xyz\x37\x6A\x46\x6A\xF4\x6A\xEA\xEA\x58\x6A</sk>\r\n"
                "\t<wo>\xA0xy\xBC</wo>\r\n"
                "\t<dfpz>\xA0xy\x34</dfpz>\r\n"
                "\t<trc>\xA0xy\x6B</trc>\r\n"
                "</Ini>\r\n"));
    const FixedClock clock;
    Journal journal(clock);
    RecordingMessageBox box;
    Settings settings;

    ASSERT_EQ(LoadSettings(path, settings, journal, box), SettingsLoadOutcome::Loaded);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(settings.sct, "/home/nauczyciel/Listy/Szkoła.skg");
    EXPECT_EQ(settings.scl, "");
    EXPECT_FALSE(settings.al);
    EXPECT_TRUE(settings.fn);
    EXPECT_FALSE(settings.opl);
    EXPECT_FALSE(settings.chl);
    EXPECT_TRUE(settings.woc);
    EXPECT_FALSE(settings.wz);
    EXPECT_EQ(settings.sk, (std::array<int, 5>{90, 80, 70, 55, 40}));
    EXPECT_EQ(settings.wo, 1);
    EXPECT_EQ(settings.dfpz, 3);
    EXPECT_EQ(settings.trc, 2);
}

// A scrambled version-35 test line: the value through the editor's table after two fillers.
std::string TestLine(std::string_view utf8) {
    Result<std::string> line = ScrambleTestText(Utf8ToCp1250(utf8));
    EXPECT_TRUE(line.ok());
    return line.ok() ? *line : std::string();
}

TEST(StoredTestFile, Version35LinesWrittenByHandFillEveryField) {
    std::vector<std::string> lines = {
        "nie czytana", TestLine("1"), TestLine("2"), kVersion35TestTexts[0].scrambled,
        kVersion35TestTexts[1].scrambled, TestLine("4"),
        // question 1
        TestLine("Ile to 1/2 + 1/4?"), TestLine("3/4"), TestLine("2/6"), TestLine("1/8"),
        TestLine("6/8"), kVersion35TestTexts[2].scrambled, TestLine("Tekst1.TXT"),
        TestLine("Obraz1.JPG"), kVersion35TestTexts[3].scrambled,
        // question 2: no members and no hint
        TestLine("Co jest większe?"), TestLine("1/3"), TestLine("1/4"), TestLine("1/5"),
        TestLine("1/6"), TestLine("1000"), TestLine(""), TestLine(""), TestLine("")};
    std::string description;
    for (const std::string& line : lines) {
        description += line + "\r\n";
    }
    ReadHarness reader;
    WriteMembers(reader.File("t.skt"), {{"Serr0.txp", BytesOf(description)}});

    ASSERT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Loaded);
    const TestDocument& test = reader.document;
    EXPECT_EQ(test.testType, 1);
    EXPECT_EQ(test.questionCount, 2);
    EXPECT_EQ(test.testName, "Ułamki zwykłe");
    EXPECT_EQ(test.author, "Łucja Gęślą");
    EXPECT_EQ(test.answerCount, 4);
    EXPECT_EQ(test.timeLimit, 0);
    EXPECT_EQ(test.gradingSource, GradingSource::Settings);
    const Question& first = test.At(1);
    EXPECT_EQ(first.text, "Ile to 1/2 + 1/4?");
    const std::array<std::string, 5> answers = {"3/4", "2/6", "1/8", "6/8", ""};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        EXPECT_EQ(first.answers[k].text, answers[k]) << k;
        EXPECT_EQ(first.answers[k].isCorrect, k == 0 || k == 2) << k;
    }
    EXPECT_EQ(first.correctFlags, "1010");
    EXPECT_EQ(first.textMember, "Tekst1.TXT");
    EXPECT_EQ(first.pictureMember, "Obraz1.JPG");
    EXPECT_EQ(first.hint, "Dodaj ćwiartki.");
    const Question& second = test.At(2);
    EXPECT_EQ(second.text, "Co jest większe?");
    EXPECT_EQ(second.answers[3].text, "1/6");
    EXPECT_EQ(second.correctFlags, "1000");
    EXPECT_EQ(second.textMember, "");
    EXPECT_EQ(second.pictureMember, "");
    EXPECT_EQ(second.hint, "");
    EXPECT_TRUE(reader.Journalled().empty());
}

TEST(StoredTestFile, Version40ElementsWrittenByHandFillEveryField) {
    ReadHarness reader;
    WriteMembers(reader.File("t.skt"),
                 {{"Serr0.xml",
                   list_testing::Xml(
                       "<tst><cd>fa</cd><ilp>1</ilp><ilo>5</ilo><typ>0</typ>"
                       "<nmt>Ułamki zwykłe</nmt><name>Łucja Gęślą</name><tim>30</tim>"
                       "<skl><tk>1</tk><cel>96</cel><bdb>86</bdb><db>71</db><dst>51</dst>"
                       "<dp>31</dp></skl>"
                       "<pyt1><tr>Ile to 1/2 + 1/4?</tr><od1>3/4</od1><od2>2/6</od2><od3>1/8</od3>"
                       "<od4>6/8</od4><od5>5/8</od5><odp>10000</odp><plr>Tekst1.TXT</plr>"
                       "<plimg>Obraz1.JPG</plimg><kom>Dodaj ćwiartki.</kom></pyt1>"
                       "<dtu>2026-09-01</dtu><uwg>Tylko dla klas czwartych</uwg></tst>")}});

    ASSERT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Loaded);
    const TestDocument& test = reader.document;
    EXPECT_EQ(test.questionCount, 1);
    EXPECT_EQ(test.answerCount, 5);
    EXPECT_EQ(test.testType, 0);
    EXPECT_EQ(test.testName, "Ułamki zwykłe");
    EXPECT_EQ(test.author, "Łucja Gęślą");
    EXPECT_EQ(test.timeLimit, 30);
    EXPECT_EQ(test.gradingSource, GradingSource::Test);
    EXPECT_EQ(test.thresholds, (std::array<int, 5>{96, 86, 71, 51, 31}));
    EXPECT_EQ(test.date, "2026-09-01");
    EXPECT_EQ(test.remarks, "Tylko dla klas czwartych");
    const Question& question = test.At(1);
    EXPECT_EQ(question.text, "Ile to 1/2 + 1/4?");
    EXPECT_EQ(question.answers[4].text, "5/8");
    EXPECT_TRUE(question.answers[0].isCorrect);
    EXPECT_EQ(question.correctFlags, "10000");
    EXPECT_EQ(question.textMember, "Tekst1.TXT");
    EXPECT_EQ(question.pictureMember, "Obraz1.JPG");
    EXPECT_EQ(question.hint, "Dodaj ćwiartki.");
}

class StoredStudentsList : public ::testing::Test {
protected:
    StudentsList Read(const list_testing::Members& members) {
        WriteMembers(path, members);
        StudentsList list;
        EXPECT_TRUE(ReadStudentsList(path, list, choice, journal, clock));
        return list;
    }

    ScratchFolder folder;
    std::string path = folder.File("szkola.sku");
    FixedClock clock;
    Journal journal{clock};
    CurrentChoice choice;
};

// The same school in a plain and an encoded description.
TEST_F(StoredStudentsList, Version40ElementsWrittenByHandFillEveryField) {
    const char* plain =
        "<szk><cd>fa</cd><ilw>4</ilw><ilk>2</ilk><typ>Szkoła Podstawowa nr 3</typ>"
        "<dtu>2026-09-01</dtu><uwg>Klasy czwarte</uwg>"
        "<kl0><nm>4a</nm><sc>\\\\serwer\\wyniki\\4a</sc><tim>45</tim><ilu>2</ilu>"
        "<skl><tk>1</tk><cel>90</cel><bdb>80</bdb><db>70</db><dst>55</dst><dp>40</dp></skl>"
        "<ucz0><imu>Zofia</imu><nzu>Wiśniewska</nzu></ucz0>"
        "<ucz1><imu>Łukasz</imu><nzu>Żak</nzu></ucz1></kl0>"
        "<kl1><nm>4b</nm><ilu>0</ilu></kl1></szk>";
    const char* encoded =
        "<szk><cd>tr</cd><ilw>NAA=</ilw><ilk>MgA=</ilk>"
        "<typ>UwB6AGsAbwBCAWEAIABQAG8AZABzAHQAYQB3AG8AdwBhACAAbgByACAAMwA=</typ>"
        "<dtu>MgAwADIANgAtADAAOQAtADAAMQA=</dtu><uwg>SwBsAGEAcwB5ACAAYwB6AHcAYQByAHQAZQA=</uwg>"
        "<kl0><nm>NABhAA==</nm><sc>XABcAHMAZQByAHcAZQByAFwAdwB5AG4AaQBrAGkAXAA0AGEA</sc>"
        "<tim>NAA1AA==</tim><ilu>MgA=</ilu>"
        "<skl><tk>MQA=</tk><cel>OQAwAA==</cel><bdb>OAAwAA==</bdb><db>NwAwAA==</db>"
        "<dst>NQA1AA==</dst><dp>NAAwAA==</dp></skl>"
        "<ucz0><imu>WgBvAGYAaQBhAA==</imu><nzu>VwBpAFsBbgBpAGUAdwBzAGsAYQA=</nzu></ucz0>"
        "<ucz1><imu>QQF1AGsAYQBzAHoA</imu><nzu>ewFhAGsA</nzu></ucz1></kl0>"
        "<kl1><nm>NABiAA==</nm><ilu>MAA=</ilu></kl1></szk>";
    for (const char* xml : {plain, encoded}) {
        SCOPED_TRACE(xml);
        const StudentsList list = Read({{"Selu0.xml", list_testing::Xml(xml)}});
        EXPECT_EQ(list.entryCount, 4);
        EXPECT_EQ(list.classCount, 2);
        EXPECT_EQ(list.listType, "Szkoła Podstawowa nr 3");
        EXPECT_EQ(list.listDate, "2026-09-01");
        EXPECT_EQ(list.listRemarks, "Klasy czwarte");
        ASSERT_EQ(list.classes.size(), 2u);
        const ClassRecord& first = list.classes[0];
        EXPECT_EQ(first.className, "4a");
        EXPECT_EQ(first.resultFolder, "\\\\serwer\\wyniki\\4a");
        EXPECT_EQ(first.classTime, "45");
        EXPECT_EQ(first.pupilCount, 2);
        EXPECT_EQ(first.ownScale, 1);
        EXPECT_EQ(first.thresholds, (std::array<int, 5>{90, 80, 70, 55, 40}));
        EXPECT_EQ(first.pupils[0].firstName, "Zofia");
        EXPECT_EQ(first.pupils[0].surname, "Wiśniewska");
        EXPECT_EQ(first.pupils[1].firstName, "Łukasz");
        EXPECT_EQ(first.pupils[1].surname, "Żak");
        EXPECT_EQ(list.classes[1].className, "4b");
        EXPECT_EQ(list.classes[1].pupilCount, 0);
    }
}

TEST_F(StoredStudentsList, Version35LinesWrittenByHandFillEveryField) {
    std::string classMember = kSettingsAndListsTexts[2].scrambled;  // the class name "1"
    for (const std::string& line :
         {std::string("nie czytana"), kSettingsAndListsTexts[5].scrambled,
          std::string("\xA0xy\xEA", 4) /* 5 */, kSettingsAndListsTexts[6].scrambled}) {
        classMember += "\r\n" + line;
    }
    const StudentsList list =
        Read({{"Selu0.txp", Lines35({"x", "y", "Klasa1"})}, {"Klasa1.txp", BytesOf(classMember)}});
    EXPECT_EQ(list.classCount, 1);
    ASSERT_EQ(list.classes.size(), 1u);
    const ClassRecord& only = list.classes[0];
    EXPECT_EQ(only.className, "1");
    EXPECT_EQ(only.resultFolder, "\\\\serwer\\wyniki\\4a");
    EXPECT_EQ(only.classTime, "5");
    ASSERT_EQ(only.pupilCount, 1);
    EXPECT_EQ(only.pupils[0].firstName, "Zofia");
    EXPECT_EQ(only.pupils[0].surname, "Wiśniewska");
}

// A Polish locale for the process: the system's, or one built from glibc's sources into a
// scratch folder when the system has none.
class PolishLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Available()) {
            const std::string command =
                "localedef -i pl_PL -f UTF-8 '" + folder_.Path() + "/pl_PL.UTF-8' >/dev/null 2>&1";
            if (std::system(command.c_str()) == 0) {
                path_.emplace("LOCPATH", folder_.Path().c_str());
            }
        }
        if (!Available()) {
            GTEST_SKIP() << "no Polish locale can be made on this system";
        }
        language_.emplace("LC_ALL", "pl_PL.UTF-8");
    }

    static bool Available() {
        const locale_t polish = newlocale(LC_ALL_MASK, "pl_PL.UTF-8", static_cast<locale_t>(0));
        if (polish == static_cast<locale_t>(0)) {
            return false;
        }
        freelocale(polish);
        return true;
    }

    ScopedEnvironmentVariable zone_{"TZ", "UTC"};

private:
    ScratchFolder folder_;
    std::optional<ScopedEnvironmentVariable> path_;
    std::optional<ScopedEnvironmentVariable> language_;
};

TEST_F(PolishLocale, ResultTimesAreTwentyFourHourTimes) {
    // 2025-12-10 15:04:05 and 09:00:07 UTC.
    EXPECT_EQ(LongTimeOfDay(1765379045), "15:04:05");
    EXPECT_EQ(LongTimeOfDay(1765357207), "09:00:07");
}

TEST_F(PolishLocale, JournalLinesCarryTheDayMonthYearDate) {
    ScratchFolder folder;
    const FixedClock clock;  // 2025-12-10 09:00:00 UTC
    Journal journal(clock);
    journal.SetFile(folder.File("Dziennik.txt"));
    journal.Write(0, "Zapis wyniku testu.");
    const Bytes bytes = ReadFileBytes(folder.File("Dziennik.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "Zapis wyniku testu. - 10.12.2025 09:00:00\r\n");
}

}  // namespace
}  // namespace oplix
