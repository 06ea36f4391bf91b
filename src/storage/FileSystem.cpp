#include "storage/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "storage/FileHandle.h"

namespace oplix {
namespace {

class PosixWritableFile : public WritableFile {
public:
    PosixWritableFile(int fd, std::string path) : file_(fd), path_(std::move(path)) {}

    Status Append(std::span<const std::uint8_t> bytes) override {
        if (Status written = file_.WriteAt(end_, bytes); !written) {
            return Error{written.error().code, written.error().message + " " + path_};
        }
        end_ += static_cast<std::int64_t>(bytes.size());
        return Success();
    }
    Status SetPermissions(mode_t permissions) override {
        if (::fchmod(file_.Descriptor(), permissions) != 0) {
            return ErrnoError("cannot set the permissions of " + path_);
        }
        return Success();
    }
    Status Sync() override {
        if (::fsync(file_.Descriptor()) != 0) {
            return ErrnoError("cannot flush " + path_);
        }
        return Success();
    }
    Status Close() override {
        if (const int error = file_.Close()) {
            errno = error;
            return ErrnoError("cannot close " + path_);
        }
        return Success();
    }

private:
    FileHandle file_;
    std::string path_;
    std::int64_t end_ = 0;
};

class Posix : public FileSystem {
public:
    Result<FileStatus> Stat(const std::string& path) const override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            return ErrnoError("cannot look at " + path);
        }
        return FileStatus{.isRegular = S_ISREG(info.st_mode),
                          .size = static_cast<std::int64_t>(info.st_size),
                          .modifiedNanoseconds =
                              std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec,
                          .permissions = static_cast<mode_t>(info.st_mode & 07777),
                          .owner = info.st_uid,
                          .group = info.st_gid};
    }
    Result<Bytes> ReadFile(const std::string& path) const override { return ReadWholeFile(path); }
    Result<NewFile> CreateUniqueFile(const std::string& prefix) override {
        std::string path = prefix + "XXXXXX";
        const int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0) {
            return ErrnoError("cannot create a file " + path);
        }
        return NewFile{path, std::make_unique<PosixWritableFile>(fd, path)};
    }
    Status Rename(const std::string& from, const std::string& to) override {
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            return ErrnoError("cannot rename " + from + " to " + to);
        }
        return Success();
    }
    Status Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0) {
            return ErrnoError("cannot remove " + path);
        }
        return Success();
    }
    Status SyncFolder(const std::string& folder) override {
        FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!handle.IsOpen() || ::fsync(handle.Descriptor()) != 0) {
            return ErrnoError("cannot flush the folder " + folder);
        }
        return Success();
    }
};

}  // namespace

FileSystem& PosixFileSystem() {
    static Posix files;
    return files;
}

}  // namespace oplix
