#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ToolCommands.h"

namespace {

void PrintUsage() {
    std::fputs(
        "usage: oplix-tool pak new|list|get|put|rm ARCHIVE [MEMBER [FILE]]\n"
        "       oplix-tool xml FILE\n"
        "       oplix-tool show FILE.skt|FILE.skg|FILE.sku|FILE.sko\n"
        "       oplix-tool make-test SOURCE_DIR OUT.skt [--encode] [--utf16] [--v35]\n"
        "       oplix-tool results FILE_OR_FOLDER... [-o OUT.csv]\n"
        "       oplix-tool solve TEST.skt --answers LIST [--pupil SURNAME,FIRSTNAME --students "
        "LIST.sku --class NAME] [--result OUT.sko] [--minutes N]\n"
        "       oplix-tool settings show\n"
        "       oplix-tool settings set KEY VALUE\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage();
        return oplix::tool::kUsageError;
    }
    std::string_view command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "pak") {
        return oplix::tool::RunPak(rest);
    }
    if (command == "xml") {
        return oplix::tool::RunXml(rest);
    }
    if (command == "show") {
        return oplix::tool::RunShow(rest);
    }
    if (command == "make-test") {
        return oplix::tool::RunMakeTest(rest);
    }
    if (command == "results") {
        return oplix::tool::RunResults(rest);
    }
    if (command == "solve") {
        return oplix::tool::RunSolve(rest);
    }
    if (command == "settings") {
        return oplix::tool::RunSettings(rest);
    }
    PrintUsage();
    return oplix::tool::kUsageError;
}
