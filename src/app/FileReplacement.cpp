#include "app/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "storage/FileHandle.h"

namespace oplix {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rename is durable only once the folder's entry has reached the disk too.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

Status FillTemporaryFile(FileHandle& file, const std::string& path,
                         std::span<const std::uint8_t> bytes) {
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 &&
        fchmod(file.Descriptor(), existing.st_mode & 07777) != 0) {
        return ErrnoError("cannot set the permissions of the new " + path);
    }
    if (Status written = file.WriteAt(0, bytes); !written) {
        return written;
    }
    if (fsync(file.Descriptor()) != 0) {
        return ErrnoError("cannot flush the new " + path);
    }
    if (const int error = file.Close()) {
        errno = error;
        return ErrnoError("cannot close the new " + path);
    }
    return Success();
}

}  // namespace

Status ReplaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string folder = FolderOf(path);
    std::string temporaryPath = folder + "/." + NameOf(path) + ".XXXXXX";
    FileHandle file(mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!file.IsOpen()) {
        return ErrnoError("cannot create a temporary file beside " + path);
    }
    Status filled = FillTemporaryFile(file, path, bytes);
    if (filled && std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        filled = ErrnoError("cannot rename the new file to " + path);
    }
    if (!filled) {
        unlink(temporaryPath.c_str());
        return filled;
    }
    SyncFolder(folder);
    return Success();
}

}  // namespace oplix
