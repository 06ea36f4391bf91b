#include "ToolFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace oplix::tool {

bool ReadInputFile(const char* command, const std::string& path, Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "oplix-tool %s: cannot open %s: %s\n", command, path.c_str(),
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
        std::fprintf(stderr, "oplix-tool %s: cannot read %s: %s\n", command, path.c_str(),
                     std::strerror(error));
    }
    return !failed;
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
