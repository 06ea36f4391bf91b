#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

// An open file descriptor that closes itself, with whole-range positioned reads and writes.
// Short reads and writes and EINTR are handled here, so callers see a range done or an error.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // 0, or the errno of a close that failed (a write the kernel had deferred may fail here).
    int Close();

    Result<std::int64_t> Size() const;
    // Reads exactly bytes.size() bytes at `offset`; running into the end of the file is an error.
    Status ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const;
    Result<Bytes> ReadRange(std::int64_t offset, std::int64_t count) const;
    Status WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    Status Truncate(std::int64_t length);

private:
    int fd_ = -1;
};

// The whole content of a file; the error says "cannot open <path>: <reason>" or "cannot read ...".
Result<Bytes> ReadWholeFile(const std::string& path);

// The error in errno, described as "<what>: <reason>".
Error ErrnoError(const std::string& what);

}  // namespace oplix
