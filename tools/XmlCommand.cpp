// oplix-tool xml FILE: loads FILE as the program's XML tree and writes the tree to standard
// output exactly as the program would write it.
#include <cstdio>
#include <string>
#include <vector>

#include "ToolCommands.h"
#include "ToolFiles.h"
#include "storage/Bytes.h"
#include "storage/pkXML.h"

namespace oplix::tool {

int RunXml(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: oplix-tool xml FILE\n", stderr);
        return kUsageError;
    }
    const std::string& path = args[0];
    Bytes bytes;
    if (!ReadInputFile("xml", path, bytes)) {
        return kFailure;
    }
    TpkXML xml;
    const bool complete = xml.LoadFromBytes(bytes);
    const Bytes written = xml.SaveToBytes();
    if (!WriteToStandardOutput("xml", written)) {
        return kFailure;
    }
    if (!complete) {
        if (bytes.empty()) {
            std::fprintf(stderr, "oplix-tool xml: %s: the file is empty\n", path.c_str());
        } else {
            std::fprintf(stderr, "oplix-tool xml: %s: the parse stopped early, near byte %zu\n",
                         path.c_str(), xml.FailureOffset());
        }
        return kFailure;
    }
    return kSuccess;
}

}  // namespace oplix::tool
