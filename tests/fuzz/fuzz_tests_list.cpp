// Reads the input as a tests list file. Whatever the bytes, the reader must finish, a list it
// accepts can have no more entries than the input has bytes, and a list it accepts reads back
// the same after the version-40 writer has stored it encoded.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "formats/TestsListFile.h"
#include "fuzz_support.h"

namespace {

bool Same(const oplix::TestsList& a, const oplix::TestsList& b) {
    return a.listName == b.listName && a.listDate == b.listDate && a.listRemarks == b.listRemarks &&
           a.entries == b.entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const oplix_fuzz::MemoryFile input("fuzz_tests_list");
    static const oplix_fuzz::MemoryFile copy("fuzz_tests_list_copy");
    static oplix::Journal journal;
    static oplix_fuzz::SilentMessageBox messages;
    journal.SetFile("/dev/null");
    input.Fill(data, size);
    oplix::TestsList list;
    if (!oplix::ReadTestsList(input.path, list, journal, messages)) {
        return 0;
    }
    if (list.entries.size() > size) {
        std::abort();
    }
    if (oplix::WriteTestsList40(copy.path, list, true, true)) {
        oplix::TestsList again;
        if (!oplix::ReadTestsList(copy.path, again, journal, messages) || !Same(list, again)) {
            std::abort();
        }
    }
    return 0;
}
