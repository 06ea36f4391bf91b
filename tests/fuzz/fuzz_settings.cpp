// Loads the input as Test.ini, as start-up does. Whatever the bytes, the loader must leave a
// file that the next start-up reads without complaint: the input itself when it was read, or
// the defaults written in its place. A single-key update of a readable file changes that key
// and nothing else the loader sees, or is refused and leaves the file as it was.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/SettingsFile.h"
#include "storage/FileHandle.h"

namespace {

class SilentMessageBox : public oplix::MessageBoxPresenter {
public:
    oplix::MessageBoxResult ShowMessageBox(oplix::MessageKind, oplix::MessageIcon,
                                           std::string_view) override {
        return oplix::MessageBoxResult::Closed;
    }
};

// A new folder from a mkdtemp template; empty when it cannot be made.
std::string MakeFolder(std::string pattern) {
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// The loader writes beside the settings file, so it lives in a real folder, made once. Every
// write is flushed to disk, so a memory file system (when there is one) keeps the runs fast.
const std::string& SettingsPath() {
    static const std::string folder = [] {
        std::string made = MakeFolder("/dev/shm/fuzz_settings_XXXXXX");
        if (made.empty()) {
            made = MakeFolder("/tmp/fuzz_settings_XXXXXX");
        }
        if (made.empty()) {
            std::abort();
        }
        return made;
    }();
    static const std::string path = folder + "/Test.ini";
    static const int cleanup = std::atexit([] {
        unlink(path.c_str());
        rmdir(folder.c_str());
    });
    (void)cleanup;
    return path;
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
}

// The file's bytes; none when it cannot be read.
oplix::Bytes ReadWhole(const std::string& path) {
    oplix::Result<oplix::Bytes> bytes = oplix::ReadWholeFile(path);
    return bytes ? std::move(bytes).value() : oplix::Bytes();
}

bool SameSettings(const oplix::Settings& a, const oplix::Settings& b) {
    for (std::string_view key : oplix::kSettingsKeys) {
        if (oplix::SettingsKeyText(a, key) != oplix::SettingsKeyText(b, key)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = SettingsPath();
    WriteInput(path, data, size);
    oplix::Journal journal;
    journal.SetFile("/dev/null");
    SilentMessageBox messages;

    oplix::Settings first;
    const oplix::SettingsLoadOutcome outcome = oplix::LoadSettings(path, first, journal, messages);
    oplix::Settings second;
    if (oplix::LoadSettings(path, second, journal, messages) !=
            oplix::SettingsLoadOutcome::Loaded ||
        !SameSettings(first, second)) {
        std::abort();
    }
    if (outcome != oplix::SettingsLoadOutcome::Loaded) {
        return 0;
    }
    const int mode = first.wo == 1 ? 0 : 1;
    const oplix::Bytes before = ReadWhole(path);
    if (!oplix::StoreWindowMode(path, first, journal, mode)) {
        // Refused only when the file, written back, would not read back; it stays as it was.
        if (ReadWhole(path) != before) {
            std::abort();
        }
        return 0;
    }
    oplix::Settings third;
    if (oplix::LoadSettings(path, third, journal, messages) != oplix::SettingsLoadOutcome::Loaded ||
        !SameSettings(first, third)) {
        std::abort();
    }
    return 0;
}
