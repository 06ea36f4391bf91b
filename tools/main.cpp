#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ToolCommands.h"

namespace {

void PrintUsage() {
    std::fputs(
        "usage: oplix-tool pak new|list|get|put|rm ARCHIVE [MEMBER [FILE]]\n"
        "       oplix-tool xml FILE\n",
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
    PrintUsage();
    return oplix::tool::kUsageError;
}
