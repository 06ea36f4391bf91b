// oplix-tool xml FILE: loads FILE as the program's XML tree and writes the tree to standard
// output exactly as the program would write it.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ToolCommands.h"
#include "storage/Bytes.h"
#include "storage/pkXML.h"

namespace oplix::tool {
namespace {

bool ReadWholeFile(const std::string& path, Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "oplix-tool xml: cannot open %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::uint8_t chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "oplix-tool xml: cannot read %s: %s\n", path.c_str(),
                     std::strerror(error));
    }
    return !failed;
}

}  // namespace

int RunXml(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: oplix-tool xml FILE\n", stderr);
        return kUsageError;
    }
    const std::string& path = args[0];
    Bytes bytes;
    if (!ReadWholeFile(path, bytes)) {
        return kFailure;
    }
    TpkXML xml;
    const bool complete = xml.LoadFromBytes(bytes);
    const Bytes written = xml.SaveToBytes();
    if (std::fwrite(written.data(), 1, written.size(), stdout) != written.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "oplix-tool xml: cannot write the output: %s\n", std::strerror(errno));
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
