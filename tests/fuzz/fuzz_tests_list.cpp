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

namespace {

// An in-memory file that the reader opens by name.
struct ScratchFile {
    explicit ScratchFile(const char* name)
        : fd(memfd_create(name, 0)), path("/proc/self/fd/" + std::to_string(fd)) {
        if (fd < 0) {
            std::abort();
        }
    }
    void Fill(const std::uint8_t* data, std::size_t size) const {
        if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
            std::abort();
        }
    }
    int fd;
    std::string path;
};

class SilentMessageBox : public oplix::MessageBoxPresenter {
public:
    oplix::MessageBoxResult ShowMessageBox(oplix::MessageKind, oplix::MessageIcon,
                                           std::string_view text) override {
        if (text.empty()) {
            std::abort();
        }
        return oplix::MessageBoxResult::Closed;
    }
};

bool Same(const oplix::TestsList& a, const oplix::TestsList& b) {
    return a.listName == b.listName && a.listDate == b.listDate && a.listRemarks == b.listRemarks &&
           a.entries == b.entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile input("fuzz_tests_list");
    static const ScratchFile copy("fuzz_tests_list_copy");
    static oplix::Journal journal;
    static SilentMessageBox messages;
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
