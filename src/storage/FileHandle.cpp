#include "storage/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace oplix {

FileHandle::~FileHandle() {
    Close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int FileHandle::Close() {
    if (fd_ < 0) {
        return 0;
    }
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 ? 0 : errno;
}

Result<std::int64_t> FileHandle::Size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        return ErrnoError("cannot read the file size");
    }
    return static_cast<std::int64_t>(info.st_size);
}

Status FileHandle::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                                      static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return ErrnoError("cannot read");
        }
        if (count == 0) {
            return Error{EIO, "read past the end of the file"};
        }
        done += static_cast<std::size_t>(count);
    }
    return Success();
}

Result<Bytes> FileHandle::ReadRange(std::int64_t offset, std::int64_t count) const {
    Bytes bytes(static_cast<std::size_t>(count));
    Status read = ReadAt(offset, bytes);
    if (!read) {
        return read.error();
    }
    return bytes;
}

Status FileHandle::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                     static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return ErrnoError("cannot write");
        }
        if (count == 0) {
            return Error{EIO, "cannot write: nothing was written"};
        }
        done += static_cast<std::size_t>(count);
    }
    return Success();
}

Status FileHandle::Truncate(std::int64_t length) {
    while (::ftruncate(fd_, static_cast<off_t>(length)) != 0) {
        if (errno != EINTR) {
            return ErrnoError("cannot set the file length");
        }
    }
    return Success();
}

Result<Bytes> ReadWholeFile(const std::string& path) {
    int fd = -1;
    while ((fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR) {
    }
    if (fd < 0) {
        return ErrnoError("cannot open " + path);
    }
    FileHandle file(fd);
    Bytes bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return ErrnoError("cannot read " + path);
        }
        if (count == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

Error ErrnoError(const std::string& what) {
    const int code = errno;
    return Error{code, what + ": " + std::strerror(code)};
}

}  // namespace oplix
