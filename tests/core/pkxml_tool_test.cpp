#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pkxml_test_support.h"
#include "storage/Bytes.h"
#include "test_files.h"
#include "tool_runner.h"

namespace oplix {
namespace {

using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_files::ToolRun;
using testing_files::WriteFileBytes;
using testing_xml::Utf16Document;

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(XmlTool, WritesTheDocumentBackByteForByte) {
    ScratchFolder folder;
    const std::string path = folder.File("in.xml");
    const Bytes document = Utf16Document("<tst>\r\n\t<pyt a=\"1\">Zażółć 漢</pyt>\r\n</tst>\r\n");
    WriteFileBytes(path, document);
    const ToolRun run = RunTool({"xml", path}, folder);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, document);
    EXPECT_EQ(run.err, "");
}

TEST(XmlTool, ADamagedDocumentIsWrittenAsFarAsItParsedAndFails) {
    ScratchFolder folder;
    const std::string path = folder.File("bad.xml");
    const std::string text = "<a>1</a>\r\nstray";
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
    const ToolRun run = RunTool({"xml", path}, folder);
    EXPECT_EQ(run.exitCode, 1);
    const std::string out(run.out.begin(), run.out.end());
    EXPECT_EQ(out, "<a>1</a>\r\n");
    EXPECT_EQ(LineCount(run.err), 1);
    EXPECT_NE(run.err.find("stopped"), std::string::npos) << run.err;
}

TEST(XmlTool, MissingFileAndUsageErrors) {
    ScratchFolder folder;
    const ToolRun missing = RunTool({"xml", folder.File("missing.xml")}, folder);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(LineCount(missing.err), 1);

    EXPECT_EQ(RunTool({"xml"}, folder).exitCode, 2);
    EXPECT_EQ(RunTool({"xml", "a", "b"}, folder).exitCode, 2);
}

}  // namespace
}  // namespace oplix
