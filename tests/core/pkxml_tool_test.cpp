#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "pkxml_test_support.h"
#include "storage/Bytes.h"

namespace oplix {
namespace {

using testing_xml::Utf16Document;

struct ToolRun {
    int exitCode = -1;
    Bytes out;
    std::string err;
};

Bytes ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

ToolRun RunXmlTool(const std::string& arguments) {
    const std::string base = ::testing::TempDir() + "pkxml_tool";
    const std::string command = std::string("'") + OPLIX_TOOL_PATH + "' xml " + arguments + " >'" +
                                base + ".out' 2>'" + base + ".err'";
    ToolRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(base + ".out");
    const Bytes err = ReadAll(base + ".err");
    run.err.assign(err.begin(), err.end());
    return run;
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(XmlTool, WritesTheDocumentBackByteForByte) {
    const std::string path = ::testing::TempDir() + "pkxml_tool_in.xml";
    const Bytes document = Utf16Document("<tst>\r\n\t<pyt a=\"1\">Zażółć 漢</pyt>\r\n</tst>\r\n");
    WriteAll(path, document);
    const ToolRun run = RunXmlTool("'" + path + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, document);
    EXPECT_EQ(run.err, "");
    std::remove(path.c_str());
}

TEST(XmlTool, ADamagedDocumentIsWrittenAsFarAsItParsedAndFails) {
    const std::string path = ::testing::TempDir() + "pkxml_tool_bad.xml";
    const std::string text = "<a>1</a>\r\nstray";
    WriteAll(path, Bytes(text.begin(), text.end()));
    const ToolRun run = RunXmlTool("'" + path + "'");
    EXPECT_EQ(run.exitCode, 1);
    const std::string out(run.out.begin(), run.out.end());
    EXPECT_EQ(out, "<a>1</a>\r\n");
    EXPECT_EQ(LineCount(run.err), 1);
    EXPECT_NE(run.err.find("stopped"), std::string::npos) << run.err;
    std::remove(path.c_str());
}

TEST(XmlTool, MissingFileAndUsageErrors) {
    const ToolRun missing = RunXmlTool("'" + ::testing::TempDir() + "pkxml_tool_missing.xml'");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(LineCount(missing.err), 1);

    EXPECT_EQ(RunXmlTool("").exitCode, 2);
    EXPECT_EQ(RunXmlTool("a b").exitCode, 2);
}

}  // namespace
}  // namespace oplix
