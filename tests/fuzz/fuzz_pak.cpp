// Opens the input as an archive, reads every member, then edits it: puts a member, deletes the
// first one and reads everything again. Damaged directories and entries must fail as errors.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"

namespace {

void ReadEverything(const oplix::TVfsPAK& archive) {
    for (int i = 0; i < archive.Count(); ++i) {
        oplix::Result<oplix::Bytes> member = archive.ReadMember(i);
        if (member && member->size() > 0 && (*member)[0] == 0xFF) {
            asm volatile("" ::: "memory");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const oplix_fuzz::MemoryFile input("fuzz_pak");
    input.Fill(data, size);
    const std::string& path = input.path;
    oplix::TVfsPAK archive;
    if (!oplix::OpenArchiveForReading(path, archive) || !archive.IsOpen()) {
        return 0;
    }
    ReadEverything(archive);
    const std::uint8_t extra[] = {1, 2, 3};
    if (oplix::PutMember("Serr0.xml", extra, archive)) {
        // A member just put is the last entry and reads back whole.
        const int last = archive.Count() - 1;
        oplix::Result<oplix::Bytes> back = archive.ReadMember(last);
        if (last < 0 || archive.Names()[static_cast<std::size_t>(last)] != "Serr0.xml" || !back ||
            back->size() != sizeof extra) {
            std::abort();
        }
    }
    (void)archive.DeleteMember(0);
    oplix::TVfsPAK reopened;
    if (oplix::OpenArchiveForReading(path, reopened)) {
        ReadEverything(reopened);
    }
    return 0;
}
