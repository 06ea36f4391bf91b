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
#include "fuzz_support.h"

namespace {}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const oplix_fuzz::MemoryFile input("fuzz_result_file");
    input.Fill(data, size);
    const std::string& path = input.path;
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
