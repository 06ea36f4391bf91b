// Reads the input as a result file. What reads must also survive a trip through the writer:
// the document built from the record reads back as the same record.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/ResultFile.h"
#include "formats/ResultFileReader.h"

namespace {

// The input lives in an in-memory file that the reader opens by name.
const std::string& ScratchPath(int& fd) {
    static int descriptor = memfd_create("fuzz_result_file", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    if (descriptor < 0) {
        std::abort();
    }
    fd = descriptor;
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int fd = -1;
    const std::string& path = ScratchPath(fd);
    if (ftruncate(fd, 0) != 0 ||
        (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
        std::abort();
    }
    const oplix::Result<oplix::ResultRecord> record = oplix::ReadResult(path);
    if (!record) {
        return 0;
    }
    const oplix::Result<oplix::Bytes> document = oplix::BuildResultDocument(*record);
    if (!document) {
        std::abort();
    }
    const oplix::Result<oplix::ResultRecord> back = oplix::ReadResultDocument(*document);
    if (!back || !(*back == *record)) {
        std::abort();
    }
    return 0;
}
