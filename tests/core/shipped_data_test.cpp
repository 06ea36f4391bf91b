#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/Settings.h"
#include "fakes.h"
#include "formats/StudentsListFile.h"
#include "formats/TestFileReader.h"
#include "formats/TestsListFile.h"
#include "journal_lines.h"
#include "storage/EncodedFields.h"
#include "storage/UPak.h"
#include "storage/pkXML.h"
#include "test_files.h"
#include "tool_runner.h"

// The files in data/ that ship beside the program, read as the program reads them.

namespace oplix {
namespace {

using testing_fakes::FixedClock;
using testing_fakes::LastDrawRandom;
using testing_fakes::RecordingMessageBox;
using testing_files::JournalMessages;
using testing_files::ScratchFolder;

const std::string kDataFolder = OPLIX_SHIPPED_DATA_DIR;

struct Entry {
    int id = 0;
    int level = 0;
    int descendants = 0;
    int parent = 0;
    std::string text;
    std::string fileName;
};

// The shipped entries hold no "@*", so every star ends a field.
Entry SplitEntry(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t star; (star = line.find('*', start)) != std::string::npos; start = star + 1) {
        fields.push_back(line.substr(start, star - start));
    }
    EXPECT_EQ(fields.size(), 8u) << line;
    fields.resize(8);
    return {std::atoi(fields[0].c_str()),
            std::atoi(fields[1].c_str()),
            std::atoi(fields[2].c_str()),
            std::atoi(fields[3].c_str()),
            fields[6],
            fields[7]};
}

// What a test file holds beside its document.
struct ShippedTest {
    std::string path;
    TestDocument document;
    bool version35 = false;
    bool utf16 = false;
    bool encoded = false;
    std::vector<std::string> members;
};

class ShippedData : public ::testing::Test {
protected:
    ShippedData() {
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.SetLevel(3);
        settings.sk = {95, 85, 75, 50, 30};
    }

    std::vector<std::string> JournalLines() const {
        return std::filesystem::exists(folder.File("Dziennik.txt"))
                   ? JournalMessages(folder.File("Dziennik.txt"))
                   : std::vector<std::string>{};
    }

    std::string DefaultTestsList() const {
        return FindDefaultList(kDataFolder + "/Zestawy", "skg");
    }

    TestsList ReadDefaultTestsList() {
        TestsList list;
        const std::string path = DefaultTestsList();
        EXPECT_FALSE(path.empty()) << "no .skg in Zestawy";
        EXPECT_TRUE(ReadTestsList(path, list, journal, box));
        return list;
    }

    StudentsList ReadDefaultStudentsList() {
        StudentsList list;
        CurrentChoice choice;
        const std::string path = FindDefaultList(kDataFolder + "/Listy", "sku");
        EXPECT_FALSE(path.empty()) << "no .sku in Listy";
        EXPECT_TRUE(ReadStudentsList(path, list, choice, journal, clock));
        return list;
    }

    // The test an entry names, found as the tree hands it over: the list's folder followed
    // by the entry's file name.
    std::string TestPath(const Entry& entry) const {
        const std::string list = DefaultTestsList();
        return WindowsPathToLocal(list.substr(0, list.rfind('/')) + entry.fileName);
    }

    TestReadOutcome Read(const std::string& path, TestDocument& document, TVfsPAK& archive,
                         StartMode mode = StartMode::TestFileAnonymously,
                         const StudentsList* students = nullptr, int classIndex = -1) {
        const TestReadContext context{.journal = journal,
                                      .messages = box,
                                      .settings = settings,
                                      .random = random,
                                      .mode = mode,
                                      .students = students,
                                      .classIndex = classIndex};
        return ReadTest(path, document, archive, context);
    }

    std::vector<ShippedTest> ReadEveryListedTest() {
        std::vector<ShippedTest> tests;
        for (const std::string& line : ReadDefaultTestsList().entries) {
            const Entry entry = SplitEntry(line);
            if (entry.fileName.empty()) {
                continue;
            }
            ShippedTest& test = tests.emplace_back();
            test.path = TestPath(entry);
            TVfsPAK archive;
            EXPECT_EQ(Read(test.path, test.document, archive), TestReadOutcome::Loaded)
                << test.path;
            EXPECT_TRUE(entry.text.starts_with(test.document.testName))
                << entry.text << " names the test " << test.document.testName;
            ListMembers(test.members, archive);
            test.version35 = MemberExists(kTest35Member, archive);
            if (!test.version35) {
                DescribeXml(archive, test);
            }
        }
        return tests;
    }

    static void DescribeXml(const TVfsPAK& archive, ShippedTest& test) {
        Result<std::optional<Bytes>> member = GetMember(kTest40Member, archive);
        ASSERT_TRUE(member.ok() && member->has_value()) << test.path;
        const Bytes& bytes = **member;
        test.utf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
        TpkXML xml;
        xml.LoadFromBytes(bytes);
        int code = kFieldOk;
        test.encoded = ReadTextField(kFieldPlain, "tst", "cd", "", "", xml, code) == "tr";
    }

    ScratchFolder folder;
    FixedClock clock;
    Journal journal{clock};
    RecordingMessageBox box;
    Settings settings;
    LastDrawRandom random;
};

TEST_F(ShippedData, TestsListIsATreeOfGroupsWhoseTestsAllLoad) {
    const TestsList list = ReadDefaultTestsList();
    ASSERT_FALSE(list.entries.empty());
    std::vector<Entry> entries;
    for (const std::string& line : list.entries) {
        entries.push_back(SplitEntry(line));
    }
    // Each entry's subtree follows it directly; its parent is the nearest entry one level up.
    std::map<int, int> openAtLevel;  // level -> id of the last entry seen there
    int deepest = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        SCOPED_TRACE(entry.text);
        EXPECT_EQ(entry.parent, entry.level == 0 ? 0 : openAtLevel[entry.level - 1]);
        openAtLevel[entry.level] = entry.id;
        deepest = std::max(deepest, entry.level);
        std::size_t below = i + 1;
        while (below < entries.size() && entries[below].level > entry.level) {
            ++below;
        }
        EXPECT_EQ(entry.descendants, static_cast<int>(below - i - 1));
        EXPECT_EQ(entry.fileName.empty(), entry.descendants > 0) << "groups have no file";
    }
    EXPECT_GE(deepest, 2) << "groups with sub-groups";

    const std::vector<ShippedTest> tests = ReadEveryListedTest();
    EXPECT_GE(tests.size(), 6u);
    EXPECT_EQ(JournalLines(), std::vector<std::string>());
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(ShippedData, TestsCoverEveryKindTheProgramReads) {
    const std::vector<ShippedTest> tests = ReadEveryListedTest();
    std::set<int> answerCounts;
    std::set<std::string> pictureKinds;
    bool v35 = false, utf16 = false, eightBit = false, encoded = false, plain = false;
    bool severalAnswers = false, timed = false, ownScale = false, full = false, hints = false;
    for (const ShippedTest& test : tests) {
        SCOPED_TRACE(test.path);
        const TestDocument& document = test.document;
        answerCounts.insert(document.answerCount);
        v35 |= test.version35;
        utf16 |= test.utf16;
        eightBit |= !test.version35 && !test.utf16;
        encoded |= test.encoded;
        plain |= !test.version35 && !test.encoded;
        severalAnswers |= document.testType == 1;
        timed |= document.timeLimit > 0;
        ownScale |= document.gradingSource == GradingSource::Test;
        bool hasPictures = false;
        for (int n = 1; n <= document.questionCount; ++n) {
            const Question& question = document.At(n);
            hints |= !question.hint.empty();
            hasPictures |= !question.pictureMember.empty();
            const int correct = static_cast<int>(std::count(
                question.correctFlags.begin(),
                question.correctFlags.begin() +
                    std::min<std::size_t>(question.correctFlags.size(), document.answerCount),
                '1'));
            EXPECT_GE(correct, 1) << "question " << n << " has a correct answer";
            if (document.testType == 0) {
                EXPECT_EQ(correct, 1) << "question " << n;
            }
            for (int k = 0; k < document.answerCount; ++k) {
                EXPECT_FALSE(question.answers[k].text.empty()) << "question " << n;
            }
            if (!question.pictureMember.empty()) {
                const std::string name = question.pictureMember;
                pictureKinds.insert(name.substr(name.rfind('.')));
            }
        }
        full |= document.questionCount == kMaxQuestions && hasPictures;
    }
    EXPECT_EQ(answerCounts, (std::set<int>{3, 4, 5}));
    EXPECT_EQ(pictureKinds, (std::set<std::string>{".BMP", ".GIF", ".JPG"}));
    EXPECT_TRUE(v35) << "a version-35 test";
    EXPECT_TRUE(utf16) << "a UTF-16 test";
    EXPECT_TRUE(eightBit) << "an 8-bit version-40 test";
    EXPECT_TRUE(encoded) << "an encoded test";
    EXPECT_TRUE(plain) << "a plain version-40 test";
    EXPECT_TRUE(severalAnswers) << "a several-answers test";
    EXPECT_TRUE(timed) << "a test with a time limit";
    EXPECT_TRUE(ownScale) << "a test with its own scale";
    EXPECT_TRUE(full) << "a test of 45 questions with pictures";
    EXPECT_TRUE(hints) << "questions with hints";
}

TEST_F(ShippedData, EveryPictureDecodesAndEveryTextMemberHasLines) {
    int pictures = 0;
    int texts = 0;
    for (const std::string& line : ReadDefaultTestsList().entries) {
        const Entry entry = SplitEntry(line);
        if (entry.fileName.empty()) {
            continue;
        }
        TestDocument document;
        TVfsPAK archive;
        ASSERT_EQ(Read(TestPath(entry), document, archive), TestReadOutcome::Loaded);
        for (int n = 1; n <= document.questionCount; ++n) {
            const Question& question = document.At(n);
            SCOPED_TRACE(entry.fileName + " question " + std::to_string(n));
            if (!question.pictureMember.empty()) {
                Bitmap picture;
                const Result<bool> loaded =
                    LoadPictureMember(question.pictureMember, picture, archive);
                ASSERT_TRUE(loaded.ok()) << loaded.error().message;
                EXPECT_TRUE(*loaded) << question.pictureMember;
                EXPECT_GT(picture.Width(), 100);
                EXPECT_GT(picture.Height(), 100);
                ++pictures;
            }
            if (!question.textMember.empty()) {
                std::vector<std::string> lines;
                ASSERT_TRUE(LoadTextMember(question.textMember, lines, archive))
                    << question.textMember;
                EXPECT_GE(lines.size(), 3u);
                ++texts;
            }
        }
    }
    EXPECT_GT(pictures, 0);
    EXPECT_GT(texts, 0);
}

TEST_F(ShippedData, StudentsListHasTheClassesItClaims) {
    const StudentsList list = ReadDefaultStudentsList();
    EXPECT_EQ(JournalLines(), std::vector<std::string>());
    ASSERT_GE(list.classCount, 2);
    ASSERT_LE(list.classCount, 3);
    const ClassRecord* large = nullptr;
    const ClassRecord* scaled = nullptr;
    for (const ClassRecord& record : list.classes) {
        SCOPED_TRACE(record.className);
        EXPECT_EQ(record.resultFolder, "") << "results go to the documents folder";
        // A class time that is not a number would make every test fail for its pupils.
        EXPECT_FALSE(record.classTime.empty());
        EXPECT_EQ(record.classTime.find_first_not_of("0123456789"), std::string::npos);
        for (int j = 0; j < record.pupilCount; ++j) {
            EXPECT_FALSE(record.pupils[j].firstName.empty());
            EXPECT_FALSE(record.pupils[j].surname.empty());
        }
        if (record.pupilCount > 20) {
            large = &record;
        }
        if (record.ownScale == 1 && std::stoi(record.classTime) > 0) {
            scaled = &record;
        }
    }
    ASSERT_NE(large, nullptr) << "a class of more than 20 pupils";
    ASSERT_NE(scaled, nullptr) << "a class with its own scale and a time limit";
    EXPECT_EQ(scaled->thresholds[0] > scaled->thresholds[4], true);
}

TEST_F(ShippedData, ClassScaleAndTimeApplyToATestWithoutItsOwn) {
    const StudentsList students = ReadDefaultStudentsList();
    int scaled = -1;
    for (int i = 0; i < students.classCount; ++i) {
        if (students.classes[i].ownScale == 1) {
            scaled = i;
        }
    }
    ASSERT_GE(scaled, 0);
    for (const std::string& line : ReadDefaultTestsList().entries) {
        const Entry entry = SplitEntry(line);
        TestDocument document;
        TVfsPAK archive;
        if (entry.fileName.empty() ||
            Read(TestPath(entry), document, archive) != TestReadOutcome::Loaded ||
            MemberExists(kTest35Member, archive) || document.timeLimit > 0 ||
            document.gradingSource == GradingSource::Test) {
            continue;
        }
        // A version-40 test of neither time limit nor scale, taken by a pupil of that class.
        ASSERT_EQ(Read(TestPath(entry), document, archive, StartMode::PupilAndTestFromLists,
                       &students, scaled),
                  TestReadOutcome::Loaded);
        EXPECT_EQ(document.gradingSource, GradingSource::Class);
        EXPECT_EQ(document.thresholds, students.classes[scaled].thresholds);
        EXPECT_EQ(document.timeLimit, std::stoi(students.classes[scaled].classTime));
        return;
    }
    FAIL() << "no version-40 test without its own limit and scale";
}

// scripts/make-data run into a scratch folder gives files that show as the committed ones.
TEST(ShippedDataSources, MakeDataReproducesTheCommittedFiles) {
    const std::filesystem::path tool = OPLIX_TOOL_PATH;
    const std::filesystem::path painter =
        tool.parent_path() / "sample-pictures" / "oplix-sample-pictures";
    if (!std::filesystem::exists(painter)) {
        GTEST_SKIP() << "oplix-sample-pictures is not built (no Qt)";
    }
    ScratchFolder folder;
    const std::string script =
        std::filesystem::path(kDataFolder).parent_path() / "scripts" / "make-data";
    const std::string command = "OPLIX_TOOL='" + tool.string() + "' OPLIX_SAMPLE_PICTURES='" +
                                painter.string() + "' '" + script + "' '" + folder.Path() +
                                "/out' >'" + folder.File("make-data.log") + "' 2>&1";
    const int status = std::system(command.c_str());
    const Bytes log = testing_files::ReadFileBytes(folder.File("make-data.log"));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << std::string(log.begin(), log.end());

    std::set<std::string> committed;
    for (const char* part : {"Zestawy", "Listy"}) {
        for (const auto& file :
             std::filesystem::recursive_directory_iterator(kDataFolder + "/" + part)) {
            if (file.is_regular_file()) {
                committed.insert(std::filesystem::relative(file.path(), kDataFolder).string());
            }
        }
    }
    std::set<std::string> fresh;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder.Path() + "/out")) {
        if (file.is_regular_file()) {
            fresh.insert(std::filesystem::relative(file.path(), folder.Path() + "/out").string());
        }
    }
    EXPECT_EQ(fresh, committed);
    for (const std::string& name : committed) {
        SCOPED_TRACE(name);
        const auto committedShow =
            testing_files::RunTool({"show", kDataFolder + "/" + name}, folder);
        const auto freshShow =
            testing_files::RunTool({"show", folder.Path() + "/out/" + name}, folder);
        EXPECT_EQ(committedShow.exitCode, 0) << committedShow.err;
        EXPECT_EQ(freshShow.exitCode, 0) << freshShow.err;
        // The documents are long: say which file differs, not how.
        EXPECT_TRUE(nlohmann::json::parse(freshShow.out, nullptr, false) ==
                    nlohmann::json::parse(committedShow.out, nullptr, false))
            << "shows differently when made afresh";
    }
}

}  // namespace
}  // namespace oplix
