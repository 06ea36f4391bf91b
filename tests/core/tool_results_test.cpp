#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tool_document_support.h"

namespace oplix {
namespace {

using testing_files::ReadFileBytes;
using testing_files::RunTool;
using testing_files::ScratchFolder;

constexpr std::string_view kHeader =
    "surname,first name,test name,author,start,end,questions,correct,effectiveness,"
    "ended by time limit,file name\r\n";

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Three of eight right: 37.5 goes to the even neighbour, 38.
std::vector<ResultQuestion> ThreeOfEight() {
    std::vector<ResultQuestion> questions(8, ResultQuestion{"00000", "10000"});
    for (int i : {0, 4, 7}) {
        questions[static_cast<std::size_t>(i)].chosenFlags = "10000";
    }
    return questions;
}

TEST(ToolResultsTest, FolderGivesOneRowPerResultAndNamesTheDamagedFile) {
    ScratchFolder folder;
    const std::string results = folder.File("wyniki");
    std::filesystem::create_directory(results);
    tool_testing::WriteResultFile(results + "/b_nowak.sko", "Nowak", "Jan", ThreeOfEight());
    tool_testing::WriteResultFile(results + "/a_zolw.SKO", "Żółw", "Ola",
                                  {{"01000", "01000"}, {"00100", "01100"}}, true);
    testing_files::WriteFileBytes(results + "/c_zly.sko", tool_testing::BytesOf("PACK broken"));
    testing_files::WriteFileBytes(results + "/notatka.txt", tool_testing::BytesOf("not a result"));

    const testing_files::ToolRun run = RunTool({"results", results}, folder);
    EXPECT_EQ(run.exitCode, 1);  // a damaged file is reported in the status as well
    EXPECT_EQ(Text(run.out),
              std::string(kHeader) +
                  "Żółw,Ola,Przyroda – ptaki,Łucja Gęślą,09:00:00,09:20:00,2,1,50,1," + results +
                  "/a_zolw.SKO\r\n"
                  "Nowak,Jan,Przyroda – ptaki,Łucja Gęślą,09:00:00,09:20:00,8,3,38,0," +
                  results + "/b_nowak.sko\r\n");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(results + "/c_zly.sko: "), std::string::npos) << run.err;
}

TEST(ToolResultsTest, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
    ScratchFolder folder;
    const std::string path = folder.File("wynik.sko");
    tool_testing::WriteResultFile(path, "Kowalska, z d. \"Nowak\"", "Anna\rMaria", ThreeOfEight());

    const testing_files::ToolRun run =
        RunTool({"results", path, "-o", folder.File("t.csv")}, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(Text(ReadFileBytes(folder.File("t.csv"))),
              std::string(kHeader) +
                  "\"Kowalska, z d. \"\"Nowak\"\"\",\"Anna\rMaria\",Przyroda – ptaki,Łucja "
                  "Gęślą,09:00:00,09:20:00,8,3,38,0," +
                  path + "\r\n");
}

TEST(ToolResultsTest, FilesKeepTheirOrderAndTheOutputIsReplaced) {
    ScratchFolder folder;
    tool_testing::WriteResultFile(folder.File("1.sko"), "Pierwszy", "A", ThreeOfEight());
    tool_testing::WriteResultFile(folder.File("2.sko"), "Drugi", "B", {});
    const std::string out = folder.File("t.csv");
    testing_files::WriteFileBytes(out, tool_testing::BytesOf(std::string(5000, 'x')));

    const testing_files::ToolRun run =
        RunTool({"results", "-o", out, folder.File("2.sko"), folder.File("1.sko")}, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string table = Text(ReadFileBytes(out));
    EXPECT_TRUE(table.starts_with(kHeader)) << table;
    const std::size_t second =
        table.find("Drugi,B,Przyroda – ptaki,Łucja Gęślą,09:00:00,09:20:00,0,0,0,0,");
    const std::size_t first = table.find("Pierwszy,A,");
    EXPECT_NE(second, std::string::npos) << table;
    EXPECT_LT(second, first);
    EXPECT_EQ(table.find("xxxx"), std::string::npos);  // nothing of the old file is left
}

TEST(ToolResultsTest, MissingInputFailsAfterTheTableAndWrongWordsAreUsageErrors) {
    ScratchFolder folder;
    const testing_files::ToolRun missing = RunTool({"results", folder.File("brak.sko")}, folder);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(Text(missing.out), kHeader);
    EXPECT_NE(missing.err.find("brak.sko"), std::string::npos);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"results"}, {"results", "-o", folder.File("t.csv")}, {"results", "a.sko", "-o"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(RunTool(args, folder).exitCode, 2);
    }
}

}  // namespace
}  // namespace oplix
