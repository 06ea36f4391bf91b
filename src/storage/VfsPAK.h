#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Bytes.h"
#include "storage/FileHandle.h"
#include "storage/Result.h"

namespace oplix {

// The file layout, all integers 32-bit signed little-endian: a 12-byte header ("PACK",
// directory offset, directory length), the members' data, then the directory of 128-byte
// entries (a 120-byte zero-ended name in Windows-1250, the data offset, the data size).
inline constexpr std::int32_t kPakHeaderSize = 12;
inline constexpr std::int32_t kPakEntrySize = 128;
inline constexpr std::size_t kPakNameField = 120;
// The longest name that still leaves room for its terminating zero.
inline constexpr std::size_t kPakMaxNameLength = kPakNameField - 1;

enum class PakOpenMode {
    // An existing archive, read and written; other programs may read it but not write it.
    Read,
    // A new archive: the file is created, or truncated to an empty archive.
    Create,
};

// A PACK archive. Member names are UTF-8 here and Windows-1250 in the file; they are matched
// ignoring case, and of several entries with one name the first in the directory is found.
// Every operation that fails reports why; the archive stays consistent with its file.
class TVfsPAK {
public:
    // True when the file is an archive, false when it lacks the magic (the file is then
    // released and the archive has no members). An error when the file cannot be opened or its
    // directory runs past its end; the archive is then closed.
    Result<bool> Open(const std::string& fileName, PakOpenMode mode);
    void Close();

    bool IsOpen() const { return file_.IsOpen(); }
    const std::string& FileName() const { return fileName_; }

    int Count() const;
    std::vector<std::string> Names() const;
    int IndexOf(std::string_view name) const;
    bool Exists(std::string_view name) const { return IndexOf(name) >= 0; }

    // The member's bytes, read from the file at each call; where they lie is known from the
    // directory, read when the archive was opened and kept up to date by every change.
    Result<Bytes> ReadMember(int position) const;
    // None when no member has that name.
    Result<std::optional<Bytes>> ReadMemberByName(std::string_view name) const;

    // Appends a member named `prefix` followed by the file part of `sourceFileName` (after its
    // last '\' or ':'), holding all of `source`.
    Status AddMember(std::string_view sourceFileName, std::string_view prefix,
                     std::span<const std::uint8_t> source);
    // Removes the member's data and entry, moving what follows down; the file shrinks.
    Status DeleteMember(int position);
    // Does nothing when no member has that name.
    Status DeleteMemberByName(std::string_view name);

private:
    struct Header {
        std::int32_t directoryOffset = kPakHeaderSize;
        std::int32_t directoryLength = 0;
    };
    struct Entry {
        std::string name;  // Windows-1250
        std::int32_t offset = 0;
        std::int32_t size = 0;
    };

    Status ReadHeader(bool& hasMagic);
    Status WriteHeader();
    Status ReadDirectory();
    Result<const Entry*> EntryAt(int position) const;
    std::int64_t DirectoryBytes() const;
    Status CheckWritable() const;

    FileHandle file_;
    bool writable_ = false;
    std::string fileName_;
    Header header_;
    std::vector<Entry> entries_;  // in directory order
};

}  // namespace oplix
