#include "ToolFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "ToolCommands.h"
#include "storage/FileHandle.h"

namespace oplix::tool {

int ReportFailure(const char* command, const std::string& subject, const std::string& message) {
    std::fprintf(stderr, "oplix-tool %s: %s: %s\n", command, subject.c_str(), message.c_str());
    return kFailure;
}

bool ReadInputFile(const char* command, const std::string& path, Bytes& bytes) {
    Result<Bytes> read = ReadWholeFile(path);
    if (!read) {
        std::fprintf(stderr, "oplix-tool %s: %s\n", command, read.error().message.c_str());
        return false;
    }
    bytes = std::move(read).value();
    return true;
}

bool WriteToStandardOutput(const char* command, std::span<const std::uint8_t> bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "oplix-tool %s: cannot write the output: %s\n", command,
                     std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace oplix::tool
