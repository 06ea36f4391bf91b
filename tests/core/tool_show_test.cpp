#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "formats_testfile_support.h"
#include "tool_document_support.h"

namespace oplix {
namespace {

using nlohmann::json;
using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_testfile::SampleTest;

TEST(ToolShowTest, EncodedVersion40TestPrintsEveryField) {
    ScratchFolder folder;
    const TestDocument test = SampleTest();
    const std::vector<TestMember> members{{"PAJAK.JPG", tool_testing::BytesOf("jpeg")},
                                          {"STRUS.TXT", tool_testing::BytesOf("Struś")}};
    const std::string path = folder.File("Przyroda.SKT");  // the extension in any case
    ASSERT_TRUE(WriteTest40(path, test, {.encoded = true, .utf16 = true}, members).ok());

    const testing_files::ToolRun run = RunTool({"show", path}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json shown = tool_testing::OutputJson(run);
    EXPECT_EQ(shown["kind"], "test");
    EXPECT_EQ(shown["version"], 40);
    EXPECT_EQ(shown["answerCount"], 4);
    EXPECT_EQ(shown["testType"], 1);
    EXPECT_EQ(shown["questionCount"], 3);
    EXPECT_EQ(shown["timeLimit"], 25);
    EXPECT_EQ(shown["testName"], test.testName);
    EXPECT_EQ(shown["author"], test.author);
    EXPECT_EQ(shown["date"], test.date);
    EXPECT_EQ(shown["remarks"], test.remarks);
    EXPECT_EQ(shown["gradingSource"], 1);
    EXPECT_EQ(shown["thresholds"], json({95, 80, 65, 50, 35}));
    EXPECT_EQ(shown["members"], json({"Serr0.xml", "PAJAK.JPG", "STRUS.TXT"}));
    ASSERT_EQ(shown["questions"].size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE("question " + std::to_string(n));
        const json& question = shown["questions"][n - 1];
        const Question& written = test.At(n);
        EXPECT_EQ(question["number"], n);
        EXPECT_EQ(question["text"], written.text);
        EXPECT_EQ(question["correctFlags"], written.correctFlags);
        EXPECT_EQ(question["textMember"], written.textMember);
        EXPECT_EQ(question["pictureMember"], written.pictureMember);
        EXPECT_EQ(question["hint"], written.hint);
        ASSERT_EQ(question["answers"].size(), 4u);
        std::vector<int> slots;
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(question["answers"][k]["text"], written.answers[k].text);
            EXPECT_EQ(question["answers"][k]["correct"], written.answers[k].isCorrect);
            slots.push_back(question["answers"][k]["slot"].get<int>());
        }
        std::sort(slots.begin(), slots.end());
        EXPECT_EQ(slots, (std::vector<int>{1, 2, 3, 4}));
    }
}

TEST(ToolShowTest, SameFileShowsTheSameAnswerOrderEveryTime) {
    ScratchFolder folder;
    const std::string path = folder.File("t.skt");
    ASSERT_TRUE(WriteTest35(path, tool_testing::TestOfQuestions(20)).ok());
    const testing_files::ToolRun first = RunTool({"show", path}, folder);
    const testing_files::ToolRun second = RunTool({"show", path}, folder);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(tool_testing::OutputJson(first)["version"], 35);
    EXPECT_EQ(first.out, second.out);
}

TEST(ToolShowTest, TestTheProgramRefusesPrintsWhyAndFails) {
    ScratchFolder folder;
    const std::string path = folder.File("duzy.skt");
    const TestMember description{
        std::string(kTest40Member),
        tool_testing::DescriptionClaimingQuestions(tool_testing::TestOfQuestions(45), 46)};
    ASSERT_TRUE(WriteTestArchive(path, {&description, 1}).ok());

    const testing_files::ToolRun run = RunTool({"show", path}, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("journal: Test zawiera zbyt dużo pytań.\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("message: Test zawiera zbyt dużo pytań. Program obsługuje testy do "
                           "45 pytań.\n"),
              std::string::npos)
        << run.err;
}

TEST(ToolShowTest, MissingOrDamagedFilesFailAndUnknownKindsAreUsageErrors) {
    ScratchFolder folder;
    testing_files::WriteFileBytes(folder.File("zly.skt"), tool_testing::BytesOf("not a pack"));
    const testing_files::ToolRun damaged = RunTool({"show", folder.File("zly.skt")}, folder);
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find("message: Problemy z otwarciem pliku testu."), std::string::npos)
        << damaged.err;

    for (const char* name : {"brak.sko", "brak.skg", "brak.sku"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(RunTool({"show", folder.File(name)}, folder).exitCode, 1);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"show", folder.File("t.txt")},
                                               {"show", folder.File("skt")},
                                               {"show"},
                                               {"show", "a.skt", "b.skt"}}) {
        const testing_files::ToolRun run = RunTool(args, folder);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

TEST(ToolShowTest, ResultPrintsItsFieldsWithTheCorrectCountAndEffectiveness) {
    ScratchFolder folder;
    const std::string path = folder.File("wynik.Sko");
    std::vector<ResultQuestion> questions(8, ResultQuestion{"10000", "01000"});
    questions[2] = {"01100", "01100"};
    tool_testing::WriteResultFile(path, "Kowalska", "Zofia", questions, true);

    const testing_files::ToolRun run = RunTool({"show", path}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json shown = tool_testing::OutputJson(run);
    EXPECT_EQ(shown["kind"], "result");
    EXPECT_EQ(shown["surname"], "Kowalska");
    EXPECT_EQ(shown["firstName"], "Zofia");
    EXPECT_EQ(shown["testName"], "Przyroda – ptaki");
    EXPECT_EQ(shown["author"], "Łucja Gęślą");
    EXPECT_EQ(shown["answerCount"], 5);
    EXPECT_EQ(shown["startTime"], "09:00:00");
    EXPECT_EQ(shown["endTime"], "09:20:00");
    EXPECT_EQ(shown["thresholds"], json({95, 85, 75, 50, 30}));
    EXPECT_EQ(shown["endedByTimeLimit"], true);
    EXPECT_EQ(shown["questionCount"], 8);
    ASSERT_EQ(shown["questions"].size(), 8u);
    EXPECT_EQ(shown["questions"][2]["chosenFlags"], "01100");
    EXPECT_EQ(shown["questions"][2]["correct"], true);
    EXPECT_EQ(shown["questions"][0]["correct"], false);
    EXPECT_EQ(shown["correctCount"], 1);
    EXPECT_EQ(shown["effectiveness"], 12);  // 12.5 goes to the even neighbour
}

TEST(ToolShowTest, TestsListPrintsHeaderAndEntryLines) {
    ScratchFolder folder;
    TestsList list;
    list.listName = "Zestaw – przyroda";
    list.listDate = "2024-09-01";
    list.listRemarks = "Uwagi, \"cudzysłów\"";
    list.entries = {"1*0*1*0*1*0*Przyroda*\\Przyroda\\ptaki.skt*",
                    "2*1*0*1*1*0*Ptaki*\\Przyroda\\ptaki.skt*"};
    const std::string path = folder.File("lista.SKG");
    ASSERT_TRUE(WriteTestsList40(path, list, true, false).ok());

    const testing_files::ToolRun run = RunTool({"show", path}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json shown = tool_testing::OutputJson(run);
    EXPECT_EQ(shown["kind"], "testsList");
    EXPECT_EQ(shown["listName"], list.listName);
    EXPECT_EQ(shown["listDate"], list.listDate);
    EXPECT_EQ(shown["listRemarks"], list.listRemarks);
    EXPECT_EQ(shown["entries"], json(list.entries));
}

TEST(ToolShowTest, StudentsListPrintsClassesWithTheirPupils) {
    ScratchFolder folder;
    StudentsList list;
    list.listType = "Szkoła Podstawowa nr 3";
    list.listDate = "2024-09-01";
    list.classCount = 2;
    list.classes.resize(2);
    list.classes[0].className = "4a";
    list.classes[0].resultFolder = "C:\\Wyniki\\4a";
    list.classes[0].classTime = "30";
    list.classes[0].ownScale = 1;
    list.classes[0].thresholds = {90, 80, 70, 60, 40};
    list.classes[0].pupilCount = 2;
    list.classes[0].pupils[0] = {"Zofia", "Kowalska"};
    list.classes[0].pupils[1] = {"Łukasz", "Żółtowski"};
    list.classes[1].className = "4b";
    list.classes[1].classTime = "0";
    list.classes[1].pupilCount = 1;
    list.classes[1].pupils[0] = {"Jan", "Nowak"};
    list.entryCount = 3;
    const std::string path = folder.File("uczniowie.sku");
    ASSERT_TRUE(WriteStudentsList40(path, list, false, true).ok());

    const testing_files::ToolRun run = RunTool({"show", path}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json shown = tool_testing::OutputJson(run);
    EXPECT_EQ(shown["kind"], "studentsList");
    EXPECT_EQ(shown["listType"], list.listType);
    EXPECT_EQ(shown["classCount"], 2);
    ASSERT_EQ(shown["classes"].size(), 2u);
    const json& first = shown["classes"][0];
    EXPECT_EQ(first["className"], "4a");
    EXPECT_EQ(first["resultFolder"], "C:\\Wyniki\\4a");
    EXPECT_EQ(first["classTime"], "30");
    EXPECT_EQ(first["ownScale"], 1);
    EXPECT_EQ(first["thresholds"], json({90, 80, 70, 60, 40}));
    EXPECT_EQ(first["pupils"], json::parse(R"([{"firstName":"Zofia","surname":"Kowalska"},
                                               {"firstName":"Łukasz","surname":"Żółtowski"}])"));
    EXPECT_EQ(shown["classes"][1]["pupils"].size(), 1u);
}

}  // namespace
}  // namespace oplix
