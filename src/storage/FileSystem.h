#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

// What a file's entry says, links followed.
struct FileStatus {
    bool isRegular = false;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since the epoch
    mode_t permissions = 0;                // the 07777 bits
    uid_t owner = 0;
    gid_t group = 0;
};

// A file being written from its start. Every call either did all it was asked or failed.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual Status Append(std::span<const std::uint8_t> bytes) = 0;
    virtual Status SetPermissions(mode_t permissions) = 0;
    // The bytes appended so far reach the disk.
    virtual Status Sync() = 0;
    // A write the kernel had deferred may fail here.
    virtual Status Close() = 0;
};

// A new file and its name.
struct NewFile {
    std::string path;
    std::unique_ptr<WritableFile> file;
};

// The file operations that must never leave a half-written or wrongly replaced file behind.
// They go through this one seam so that tests can make any of them fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual Result<FileStatus> Stat(const std::string& path) const = 0;
    virtual Result<Bytes> ReadFile(const std::string& path) const = 0;
    // Creates a file that did not exist, named `prefix` followed by six random characters, only
    // its owner may read and write it.
    virtual Result<NewFile> CreateUniqueFile(const std::string& prefix) = 0;
    // Puts `from` in place of `to`, replacing it, in one step.
    virtual Status Rename(const std::string& from, const std::string& to) = 0;
    virtual Status Remove(const std::string& path) = 0;
    // Renames and removals in the folder reach the disk.
    virtual Status SyncFolder(const std::string& folder) = 0;
};

// The operating system's own files.
FileSystem& PosixFileSystem();

}  // namespace oplix
