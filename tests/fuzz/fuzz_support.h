#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/MessageBox.h"

namespace oplix_fuzz {

// An in-memory file that readers open by name, refilled with each input.
struct MemoryFile {
    explicit MemoryFile(const char* name)
        : fd(memfd_create(name, 0)), path("/proc/self/fd/" + std::to_string(fd)) {
        if (fd < 0) {
            std::abort();
        }
    }
    void Fill(const std::uint8_t* data, std::size_t size) const {
        if (ftruncate(fd, 0) != 0 ||
            (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
            std::abort();
        }
    }
    int fd;
    std::string path;
};

// Shows nothing; a box without a text would be a fault of the caller.
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

}  // namespace oplix_fuzz
