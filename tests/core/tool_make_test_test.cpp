#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "formats_testfile_support.h"
#include "storage/UPak.h"
#include "tool_document_support.h"

namespace oplix {
namespace {

using nlohmann::json;
using testing_files::ReadFileBytes;
using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;
using testing_testfile::SampleTest;

// A source folder: the plain description of the sample test and the two files it names.
std::string MakeSourceFolder(const ScratchFolder& folder) {
    const std::string source = folder.File("zrodlo");
    std::filesystem::create_directory(source);
    TpkXML xml;
    EXPECT_TRUE(BuildTest40Description(SampleTest(), {}, xml).ok());
    WriteFileBytes(source + "/Serr0.xml", xml.SaveToBytes());
    WriteFileBytes(source + "/PAJAK.JPG", tool_testing::BytesOf("\xFF\xD8 not really a picture"));
    WriteFileBytes(source + "/STRUS.TXT", tool_testing::BytesOf("Stru\x9C nie lata."));
    return source;
}

TEST(ToolMakeTestTest, EveryFormPacksTheFolderAndShowsTheSameTest) {
    struct Case {
        std::vector<std::string> flags;
        int version;
    };
    const std::vector<Case> cases{{{}, 40},
                                  {{"--encode"}, 40},
                                  {{"--utf16"}, 40},
                                  {{"--encode", "--utf16"}, 40},
                                  {{"--v35"}, 35}};
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string source = MakeSourceFolder(folder);
        const std::string out = folder.File("test.skt");
        std::vector<std::string> args{"make-test", source, out};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        SCOPED_TRACE(testing::PrintToString(args));
        const testing_files::ToolRun made = RunTool(args, folder);
        ASSERT_EQ(made.exitCode, 0) << made.err;
        if (c.version == 35) {
            // The sample's time limit, scale, date and remarks have no place in version 35.
            for (const char* field : {"time limit", "grading scale", "date", "remarks"}) {
                EXPECT_NE(made.err.find(std::string(field) + ": version 35 cannot hold it"),
                          std::string::npos)
                    << made.err;
            }
            EXPECT_EQ(made.err.find("answers"), std::string::npos) << made.err;
        } else {
            EXPECT_EQ(made.err, "");
        }

        const testing_files::ToolRun run = RunTool({"show", out}, folder);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const json shown = tool_testing::OutputJson(run);
        EXPECT_EQ(shown["version"], c.version);
        EXPECT_EQ(shown["members"],
                  json({c.version == 35 ? "Serr0.txp" : "Serr0.xml", "PAJAK.JPG", "STRUS.TXT"}));
        EXPECT_EQ(shown["testName"], SampleTest().testName);
        EXPECT_EQ(shown["questions"][0]["pictureMember"], "PAJAK.JPG");
        EXPECT_EQ(shown["questions"][1]["textMember"], "STRUS.TXT");
        EXPECT_EQ(shown["questions"][1]["answers"][3]["text"], SampleTest().At(2).answers[3].text);
        EXPECT_EQ(shown["questions"][1]["correctFlags"], "1001");
        if (c.version == 40) {
            EXPECT_EQ(shown["remarks"], SampleTest().remarks);
            EXPECT_EQ(shown["thresholds"], json({95, 80, 65, 50, 35}));
        }
        TVfsPAK archive;
        ASSERT_TRUE(OpenArchiveForReading(out, archive));
        Result<std::optional<Bytes>> text = GetMember("STRUS.TXT", archive);
        ASSERT_TRUE(text.ok() && text->has_value());
        EXPECT_EQ(**text, ReadFileBytes(source + "/STRUS.TXT"));
        // Nothing is left beside the output.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                                std::filesystem::directory_iterator()),
                  4);  // zrodlo, test.skt, tool.out, tool.err
    }
}

TEST(ToolMakeTestTest, RefusesAnExistingOutputAFolderWithoutDescriptionAndARefusedTest) {
    ScratchFolder folder;
    const std::string source = MakeSourceFolder(folder);
    const std::string existing = folder.File("istnieje.skt");
    WriteFileBytes(existing, tool_testing::BytesOf("keep me"));
    testing_files::ToolRun run = RunTool({"make-test", source, existing}, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileBytes(existing), tool_testing::BytesOf("keep me"));

    const std::string empty = folder.File("pusty");
    std::filesystem::create_directory(empty);
    WriteFileBytes(empty + "/PAJAK.JPG", tool_testing::BytesOf("x"));
    run = RunTool({"make-test", empty, folder.File("a.skt")}, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no Serr0.xml"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("a.skt")));

    WriteFileBytes(source + "/Serr0.xml", tool_testing::DescriptionClaimingQuestions(
                                              tool_testing::TestOfQuestions(45), 46));
    run = RunTool({"make-test", source, folder.File("b.skt")}, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("journal: Test zawiera zbyt dużo pytań."), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("b.skt")));
}

TEST(ToolMakeTestTest, AFieldVersion35CannotHoldFailsWithoutOutput) {
    ScratchFolder folder;
    const std::string source = MakeSourceFolder(folder);
    TestDocument test = SampleTest();
    test.At(1).text = std::string(600, 'x');  // longer than a scrambled line holds
    TpkXML xml;
    ASSERT_TRUE(BuildTest40Description(test, {}, xml).ok());
    WriteFileBytes(source + "/Serr0.xml", xml.SaveToBytes());
    const testing_files::ToolRun run =
        RunTool({"make-test", source, folder.File("c.skt"), "--v35"}, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.File("c.skt")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              3);  // zrodlo, tool.out, tool.err: the temporary file is gone
}

TEST(ToolMakeTestTest, WrongWordsAreUsageErrors) {
    ScratchFolder folder;
    const std::string source = MakeSourceFolder(folder);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"make-test", source},
             {"make-test", source, folder.File("d.skt"), "--zip"},
             {"make-test", source, folder.File("d.skt"), "--v35", "--encode"},
             {"make-test", source, folder.File("d.skt"), "extra"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(RunTool(args, folder).exitCode, 2);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("d.skt")));
}

}  // namespace
}  // namespace oplix
