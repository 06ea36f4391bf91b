#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/Cp1250.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "test_files.h"
#include "tool_runner.h"

namespace oplix {
namespace {

using testing_files::ReadFileBytes;
using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_files::ToolRun;
using testing_files::WriteFileBytes;

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class PakToolTest : public ::testing::Test {
protected:
    ToolRun Run(const std::vector<std::string>& arguments) { return RunTool(arguments, folder_); }
    std::string Archive() const { return folder_.File("test.skt"); }

    ScratchFolder folder_;
};

TEST_F(PakToolTest, MendsAnArchiveMemberByMember) {
    ASSERT_EQ(Run({"pak", "new", Archive()}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(Archive()).size(), 12u);

    const std::string picture = folder_.File("mapa.jpg");
    WriteFileBytes(picture, BytesOf("\xFF\xD8 picture"));
    ASSERT_EQ(Run({"pak", "put", Archive(), "Serr0.xml", picture}).exitCode, 0);
    ASSERT_EQ(Run({"pak", "put", Archive(), "Mapa Śląska.JPG", picture}).exitCode, 0);
    const ToolRun listed = Run({"pak", "list", Archive()});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(Text(listed.out), "Serr0.xml\nMapa Śląska.JPG\n");

    const ToolRun got = Run({"pak", "get", Archive(), "MAPA ŚLĄSKA.jpg"});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_EQ(got.out, BytesOf("\xFF\xD8 picture"));

    ASSERT_EQ(Run({"pak", "rm", Archive(), "serr0.XML"}).exitCode, 0);
    TVfsPAK archive;
    ASSERT_TRUE(OpenArchiveForReading(Archive(), archive));
    // The directory holds the name in Windows-1250.
    EXPECT_EQ(archive.Names(), std::vector<std::string>{"Mapa Śląska.JPG"});
    EXPECT_TRUE(archive.IndexOf(Cp1250ToUtf8(Utf8ToCp1250("mapa śląska.jpg"))) == 0);
}

TEST_F(PakToolTest, FailuresSayWhyOnOneLine) {
    ASSERT_EQ(Run({"pak", "new", Archive()}).exitCode, 0);
    const std::string notPack = folder_.File("lista.txt");
    WriteFileBytes(notPack, BytesOf("just text, long enough to hold a header"));
    const std::string damaged = folder_.File("damaged.skt");
    WriteFileBytes(damaged, BytesOf(std::string("PACK\x0c\0\0\0\x80\0\0\0", 12)));
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"pak", "get", Archive(), "Serr0.xml"}, "no member Serr0.xml"},
        {{"pak", "rm", Archive(), "Serr0.xml"}, "no member Serr0.xml"},
        {{"pak", "new", Archive()}, "already exists"},
        {{"pak", "list", notPack}, "not a PACK archive"},
        {{"pak", "list", damaged}, "damaged archive"},
        {{"pak", "list", folder_.File("none.skt")}, "No such file"},
        {{"pak", "put", Archive(), "a", folder_.File("none.txt")}, "cannot open"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Text(ReadFileBytes(notPack)), "just text, long enough to hold a header");
}

TEST_F(PakToolTest, WrongWordsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"pak"}, {"pak", "list"}, {"pak", "copy", Archive()}, {"pak", "get", Archive()}}) {
        EXPECT_EQ(Run(arguments).exitCode, 2);
    }
}

}  // namespace
}  // namespace oplix
