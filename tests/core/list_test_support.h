#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "journal_lines.h"
#include "storage/Bytes.h"
#include "storage/Cp1250.h"
#include "storage/Scrambling.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "test_files.h"

// Builders and checks shared by the tests of the list files.
namespace oplix::list_testing {

using testing_files::JournalMessages;

// The five forms every list can be written in.
struct ListForm {
    const char* name;
    int version;
    bool encoded;
    bool utf16;
};

constexpr ListForm kForms[] = {
    {"version 40, plain, 8-bit", 40, false, false},
    {"version 40, plain, UTF-16", 40, false, true},
    {"version 40, encoded, 8-bit", 40, true, false},
    {"version 40, encoded, UTF-16", 40, true, true},
    {"version 35", 35, false, false},
};

// Base64 of the UTF-16LE unit D800: a lone surrogate, which no field can decode to text.
inline constexpr std::string_view kUndecodable = "ANg=";

using Members = std::vector<std::pair<std::string, Bytes>>;

inline Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// An 8-bit XML description from UTF-8 text.
inline Bytes Xml(std::string_view text) {
    return BytesOf(Utf8ToCp1250(text));
}

inline std::string Scrambled(std::string_view utf8) {
    Result<std::string> line = ScrambleText(Utf8ToCp1250(utf8));
    EXPECT_TRUE(line.ok());
    return line.ok() ? *line : std::string();
}

// A version-35 text member: every value scrambled, std::nullopt standing for a raw empty line;
// each line ended by CR LF.
inline Bytes Lines35(const std::vector<std::optional<std::string>>& values) {
    Bytes bytes;
    for (const std::optional<std::string>& value : values) {
        const std::string line = value ? Scrambled(*value) : std::string();
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.insert(bytes.end(), {'\r', '\n'});
    }
    return bytes;
}

inline void WriteMembers(const std::string& path, const Members& members) {
    TVfsPAK archive;
    ASSERT_TRUE(CreateArchiveForWriting(path, archive));
    for (const auto& [name, bytes] : members) {
        ASSERT_TRUE(PutMember(name, bytes, archive).ok());
    }
    archive.Close();
}

// An archive whose only entry points past the end of the file.
inline Bytes ArchiveWithDamagedEntry(std::string_view name) {
    Bytes bytes = BytesOf("PACK");
    const auto put32 = [&bytes](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    put32(12);
    put32(128);
    Bytes nameField(120, 0);
    std::copy(name.begin(), name.end(), nameField.begin());
    bytes.insert(bytes.end(), nameField.begin(), nameField.end());
    put32(5000);
    put32(64);
    return bytes;
}

// Whether the file can be locked for writing, i.e. no reader holds it open any more.
inline bool IsReleased(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return true;
    }
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return locked;
}

}  // namespace oplix::list_testing
