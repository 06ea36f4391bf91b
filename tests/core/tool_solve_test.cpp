#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes.h"
#include "formats/ResultFileReader.h"
#include "formats/StudentsListFile.h"
#include "formats/TestFileWriter.h"
#include "testing_session_support.h"
#include "tool_runner.h"

namespace oplix {
namespace {

namespace fs = std::filesystem;
using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_files::ToolRun;
using testing_session::OneAnswerTest;

std::string Out(const ToolRun& run) {
    return std::string(run.out.begin(), run.out.end());
}

// Correct positions 2, 3, 1, 2 (question q: (q mod 3) + 1).
std::string WriteFourQuestions(const ScratchFolder& folder, int timeLimit = 0, int testType = 0) {
    TestDocument test = OneAnswerTest(4, 3, timeLimit);
    test.testType = testType;
    const std::string path = folder.File("ptaki.skt");
    EXPECT_TRUE(WriteTest40(path, test, {}).ok());
    return path;
}

ResultRecord ReadBack(const std::string& path) {
    const Result<ResultRecord> read = ReadResult(path);
    EXPECT_TRUE(read.ok()) << path << ": " << (read.ok() ? "" : read.error().message);
    return read.ok() ? *read : ResultRecord{};
}

TEST(ToolSolveTest, AnswersByFilePositionAreGradedAndSummarised) {
    ScratchFolder folder;
    const std::string test = WriteFourQuestions(folder);
    const ToolRun run = RunTool({"solve", test, "--answers", "2,3,2,-", "--minutes", "7"}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Out(run),
              "Pytań w teście: 4\nPoprawnych odpowiedzi: 2\nCzas pracy: 7 min 0 s\n"
              "Skuteczność: 50%\n\nReasumując: Nie jest rewelacyjnie.\n");
    EXPECT_EQ(run.err, "");
    // An anonymous pupil's result is written only when asked for.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 3);
}

TEST(ToolSolveTest, ResultGoesToTheFileAskedFor) {
    ScratchFolder folder;
    const std::string out = folder.File("wynik.sko");
    const ToolRun run = RunTool(
        {"solve", WriteFourQuestions(folder, 0, 1), "--answers", "2,31,-,12", "--result", out},
        folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ResultRecord record = ReadBack(out);
    EXPECT_EQ(record.surname, kAnonymousSurname);
    EXPECT_FALSE(record.endedByTimeLimit);
    EXPECT_EQ(record.questions,
              (std::vector<ResultQuestion>{
                  {"01000", "01000"}, {"10100", "00100"}, {"00000", "10000"}, {"11000", "01000"}}));
    // An existing result is never replaced.
    const ToolRun again = RunTool(
        {"solve", folder.File("ptaki.skt"), "--answers", "1,1,1,1", "--result", out}, folder);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find(out + ": exists"), std::string::npos) << again.err;
    EXPECT_EQ(ReadBack(out).questions[0].chosenFlags, "01000");
}

TEST(ToolSolveTest, TimedTestEndsAtItsLimit) {
    ScratchFolder folder;
    const std::string out = folder.File("wynik.sko");
    const ToolRun run = RunTool({"solve", WriteFourQuestions(folder, 5), "--answers", "2,3,1,2",
                                 "--minutes", "30", "--result", out},
                                folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Out(run).find("Czas pracy: 5 min 0 s\nSkuteczność: 100%"), std::string::npos)
        << Out(run);
    EXPECT_TRUE(ReadBack(out).endedByTimeLimit);

    const ToolRun early = RunTool({"solve", folder.File("ptaki.skt"), "--answers", "2,3,1,2",
                                   "--minutes", "4", "--result", folder.File("przed.sko")},
                                  folder);
    ASSERT_EQ(early.exitCode, 0) << early.err;
    EXPECT_FALSE(ReadBack(folder.File("przed.sko")).endedByTimeLimit);
}

// One class "3a" with Jan Kowalski; its results folder as given.
std::string WriteStudents(const ScratchFolder& folder, const std::string& resultFolder) {
    StudentsList list;
    list.classCount = 1;
    list.classes.resize(1);
    list.classes[0].className = "3a";
    list.classes[0].resultFolder = resultFolder;
    list.classes[0].classTime = "0";
    list.classes[0].pupilCount = 1;
    list.classes[0].pupils[0] = {"Jan", "Kowalski"};
    const std::string path = folder.File("uczniowie.sku");
    EXPECT_TRUE(WriteStudentsList40(path, list, false, false).ok());
    return path;
}

TEST(ToolSolveTest, NamedPupilsResultGoesWhereTheProgramPutsIt) {
    ScratchFolder folder;
    const std::string results = folder.File("wyniki");
    fs::create_directory(results);
    const std::vector<std::string> named = {
        "--pupil", "Kowalski,Jan", "--students", WriteStudents(folder, results), "--class", "3a"};
    std::vector<std::string> args = {"solve", WriteFourQuestions(folder), "--answers", "2,3,1,1"};
    args.insert(args.end(), named.begin(), named.end());

    const ToolRun run = RunTool(args, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ResultRecord record = ReadBack(results + "/Ptaki Polski_Kowalski_Jan.sko");
    EXPECT_EQ(record.surname, "Kowalski");
    EXPECT_EQ(record.firstName, "Jan");
    EXPECT_EQ(record.questions.at(3).chosenFlags, "10000");

    const ToolRun again = RunTool(args, folder);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("exists"), std::string::npos) << again.err;

    args.insert(args.end(), {"--result", folder.File("kopia.sko")});
    const ToolRun elsewhere = RunTool(args, folder);
    ASSERT_EQ(elsewhere.exitCode, 0) << elsewhere.err;
    EXPECT_EQ(ReadBack(folder.File("kopia.sko")).surname, "Kowalski");
    EXPECT_EQ(std::distance(fs::directory_iterator(results), fs::directory_iterator()), 1);
}

TEST(ToolSolveTest, ClassWithoutAFolderSendsTheResultToTheDocumentsFolder) {
    ScratchFolder folder;
    fs::create_directory(folder.File("Documents"));
    const testing_fakes::ScopedEnvironmentVariable home("HOME", folder.Path().c_str());
    const testing_fakes::ScopedEnvironmentVariable config("XDG_CONFIG_HOME",
                                                          folder.File("config").c_str());
    const ToolRun run =
        RunTool({"solve", WriteFourQuestions(folder), "--answers", "1,1,1,1", "--pupil",
                 "Kowalski,Jan", "--students", WriteStudents(folder, ""), "--class", "3a"},
                folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBack(folder.File("Documents/Ptaki Polski_Kowalski_Jan.sko")).firstName, "Jan");
}

// The pupil was told the result goes to his documents folder: it is written there, also when a
// file of that name is already there, and the tool says where it went.
TEST(ToolSolveTest, ClassFolderThatCannotTakeTheResultSendsItToTheDocumentsFolder) {
    ScratchFolder folder;
    fs::create_directory(folder.File("Documents"));
    const testing_fakes::ScopedEnvironmentVariable home("HOME", folder.Path().c_str());
    const testing_fakes::ScopedEnvironmentVariable config("XDG_CONFIG_HOME",
                                                          folder.File("config").c_str());
    const std::vector<std::string> args = {"solve",      WriteFourQuestions(folder),
                                           "--answers",  "1,1,1,1",
                                           "--pupil",    "Kowalski,Jan",
                                           "--students", WriteStudents(folder, folder.File("brak")),
                                           "--class",    "3a"};
    for (const char* name :
         {"Ptaki Polski_Kowalski_Jan.sko", "Ptaki Polski_Kowalski_Jan (2).sko"}) {
        const ToolRun run = RunTool(args, folder);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string written = folder.File(std::string("Documents/") + name);
        EXPECT_EQ(ReadBack(written).surname, "Kowalski");
        EXPECT_NE(run.err.find("oplix-tool solve: result written to " + written + "\n"),
                  std::string::npos)
            << run.err;
    }
}

TEST(ToolSolveTest, TestWithoutQuestionsIsSolvedWithAnEmptyList) {
    ScratchFolder folder;
    const std::string test = folder.File("pusty.skt");
    ASSERT_TRUE(WriteTest40(test, OneAnswerTest(0, 3), {}).ok());
    const std::string out = folder.File("wynik.sko");
    const ToolRun run = RunTool({"solve", test, "--answers", "", "--result", out}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Out(run).find("Pytań w teście: 0\n"), std::string::npos) << Out(run);
    EXPECT_TRUE(ReadBack(out).questions.empty());
    const ToolRun tooMany = RunTool({"solve", WriteFourQuestions(folder), "--answers", ""}, folder);
    EXPECT_EQ(tooMany.exitCode, 1);
}

TEST(ToolSolveTest, WrongWordsAreUsageErrors) {
    ScratchFolder folder;
    const std::string test = WriteFourQuestions(folder);
    const std::vector<std::vector<std::string>> cases = {
        {"solve", test},
        {"solve", "--answers", "1,1,1,1"},
        {"solve", test, "--answers"},
        {"solve", test, "--answers", "1,x,1,1"},
        {"solve", test, "--answers", "1,,1,1"},
        {"solve", test, "--answers", "1,6,1,1"},
        {"solve", test, "--answers", "1,22,1,1"},
        {"solve", test, "--answers", "1,1,1,1", "--minutes", "-1"},
        {"solve", test, "--answers", "1,1,1,1", "--minutes", "1", "--minutes", "2"},
        {"solve", test, "--answers", "1,1,1,1", "--pupil", "Kowalski,Jan"},
        {"solve", test, "--answers", "1,1,1,1", "--pupil", "Kowalski", "--students", "u.sku",
         "--class", "3a"},
        {"solve", test, "--answers", "1,1,1,1", "--fast"},
        {"solve", test, test, "--answers", "1,1,1,1"},
    };
    for (const std::vector<std::string>& args : cases) {
        const ToolRun run = RunTool(args, folder);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(run.err.starts_with("usage: oplix-tool solve TEST.skt --answers LIST"))
            << run.err;
    }
}

TEST(ToolSolveTest, AnswersThatDoNotFitTheTestFail) {
    ScratchFolder folder;
    const std::string test = WriteFourQuestions(folder);
    const std::string students = WriteStudents(folder, folder.Path());
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--answers", "1,1,1"}, test + ": the test has 4 questions, the list answers 3"},
        {{"--answers", "1,1,1,1,1"}, test + ": the test has 4 questions, the list answers 5"},
        {{"--answers", "1,4,1,1"}, test + ": question 2 has 3 answers, not 4"},
        {{"--answers", "1,1,12,1"}, test + ": question 3 takes one answer"},
        {{"--answers", "1,1,1,1", "--pupil", "Nowak,Jan", "--students", students, "--class", "3a"},
         students + ": class 3a has no pupil Nowak Jan"},
        {{"--answers", "1,1,1,1", "--pupil", "Kowalski,Jan", "--students", students, "--class",
          "3b"},
         students + ": no class 3b"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"solve", test};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = RunTool(args, folder);
        EXPECT_EQ(run.exitCode, 1) << c.message;
        EXPECT_EQ(run.err, "oplix-tool solve: " + c.message + "\n");
        EXPECT_EQ(Out(run), "");
    }
    const ToolRun missing = RunTool({"solve", folder.File("brak.skt"), "--answers", "1"}, folder);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.starts_with("oplix-tool solve: " + folder.File("brak.skt") +
                                        ": the program would not start this test\n"))
        << missing.err;
    EXPECT_NE(missing.err.find("journal: Brak pliku na wskazanej ścieżce."), std::string::npos);
}

}  // namespace
}  // namespace oplix
