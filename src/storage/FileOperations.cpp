#include "storage/FileOperations.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "storage/FileHandle.h"

namespace oplix {
namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kStreamBufferSize = 64 * 1024;

// Folder part and last component of a path; a path without "/" lies in the current folder.
struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// Closes the directory when it goes out of scope.
struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// A symbolic link (or an entry the file system gives no type for) is judged by what it points
// to; a dangling link is not a folder.
bool IsFolder(DIR* dir, const dirent& entry) {
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_DIR;
    }
    struct stat info;
    return fstatat(dirfd(dir), entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool IsDotOrDotDot(std::string_view name) {
    return name == "." || name == "..";
}

int OpenForReading(const std::string& path) {
    return open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int CreateOrTruncate(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

// 0 or errno.
int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Copies from the current position of `from` to its end in reads of at most blockSize bytes,
// writing exactly the bytes each read gave. 0 or errno; `copied` counts the bytes written.
int CopyData(int from, int to, std::size_t blockSize, std::uint64_t& copied) {
    std::unique_ptr<char[]> buffer(new char[blockSize]);
    copied = 0;
    for (;;) {
        const ssize_t got = read(from, buffer.get(), blockSize);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        if (const int error = WriteAll(to, buffer.get(), static_cast<std::size_t>(got))) {
            return error;
        }
        copied += static_cast<std::uint64_t>(got);
    }
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Copying a file onto itself would truncate it before reading it.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The copy is opened later as an archive with write access, so its owner must be able to read
// and write it even when the source was read-only.
mode_t CopyPermissions(int source) {
    struct stat info;
    const mode_t kept = fstat(source, &info) == 0 ? (info.st_mode & 0777) : 0644;
    return kept | S_IRUSR | S_IWUSR;
}

// Fills the temporary file and renames it over the destination. 0 or errno.
int FillAndRename(int source, FileHandle& temporaryFile, const std::string& temporaryPath,
                  const std::string& destination) {
    std::uint64_t copied = 0;
    if (const int error = CopyData(source, temporaryFile.Descriptor(), kStreamBufferSize, copied)) {
        return error;
    }
    if (fchmod(temporaryFile.Descriptor(), CopyPermissions(source)) != 0) {
        return errno;
    }
    if (const int error = temporaryFile.Close()) {
        return error;
    }
    return std::rename(temporaryPath.c_str(), destination.c_str()) == 0 ? 0 : errno;
}

int CopyReplacing(const std::string& source, const std::string& destination) {
    FileHandle in(OpenForReading(source));
    if (!in.IsOpen()) {
        return errno;
    }
    std::string temporaryPath = Split(destination).folder + "/.oplix-copy-XXXXXX";
    FileHandle out(mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!out.IsOpen()) {
        return errno;
    }
    const int error = FillAndRename(in.Descriptor(), out, temporaryPath, destination);
    if (error != 0) {
        unlink(temporaryPath.c_str());
    }
    return error;
}

// The code of a block copy is 0 for every failure after the source was opened.
bool CopyBlocks(const std::string& source, const std::string& destination, int& code) {
    FileHandle in(OpenForReading(source));
    if (!in.IsOpen()) {
        code = errno;
        return false;
    }
    code = 0;
    FileHandle out(CreateOrTruncate(destination));
    if (!out.IsOpen()) {
        return false;
    }
    std::uint64_t copied = 0;
    if (CopyData(in.Descriptor(), out.Descriptor(), kBlockSize, copied) != 0) {
        return false;
    }
    return out.Close() == 0;
}

bool CopyStream(const std::string& source, const std::string& destination, int& code) {
    FileHandle out(CreateOrTruncate(destination));
    if (!out.IsOpen()) {
        code = errno;
        return false;
    }
    FileHandle in(OpenForReading(source));
    if (!in.IsOpen()) {
        code = errno;
        return false;
    }
    std::uint64_t copied = 0;
    int error = CopyData(in.Descriptor(), out.Descriptor(), kStreamBufferSize, copied);
    if (error == 0) {
        error = out.Close();
    }
    if (error != 0) {
        code = error;
        return false;
    }
    code = static_cast<int>(std::min<std::uint64_t>(copied, INT_MAX));
    return true;
}

// Reads up to `size` bytes, fewer only at the end of the file. The count read, or -1 with errno.
ssize_t ReadFull(int fd, char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t part = read(fd, data + got, size - got);
        if (part < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (part == 0) {
            break;
        }
        got += static_cast<std::size_t>(part);
    }
    return static_cast<ssize_t>(got);
}

// A network share may hand back other bytes than it was given, so the copy is read again.
bool CopyVerified(const std::string& source, const std::string& destination, int& code) {
    if (!CopyBlocks(source, destination, code)) {
        return false;
    }
    if (FilesHaveSameBytes(source, destination, code)) {
        return true;
    }
    if (code == 0) {
        code = EIO;
        unlink(destination.c_str());
    }
    return false;
}

}  // namespace

bool FilesHaveSameBytes(const std::string& first, const std::string& second, int& code) {
    code = 0;
    FileHandle a(OpenForReading(first));
    if (!a.IsOpen()) {
        code = errno;
        return false;
    }
    FileHandle b(OpenForReading(second));
    if (!b.IsOpen()) {
        code = errno;
        return false;
    }
    std::unique_ptr<char[]> left(new char[kStreamBufferSize]);
    std::unique_ptr<char[]> right(new char[kStreamBufferSize]);
    for (;;) {
        const ssize_t gotLeft = ReadFull(a.Descriptor(), left.get(), kStreamBufferSize);
        if (gotLeft < 0) {
            code = errno;
            return false;
        }
        const ssize_t gotRight = ReadFull(b.Descriptor(), right.get(), kStreamBufferSize);
        if (gotRight < 0) {
            code = errno;
            return false;
        }
        if (gotLeft != gotRight ||
            std::memcmp(left.get(), right.get(), static_cast<std::size_t>(gotLeft)) != 0) {
            return false;
        }
        if (gotLeft == 0) {
            return true;
        }
    }
}

void ListFiles(std::string_view folderAndPattern, std::string_view suffix,
               std::vector<std::string>& names) {
    std::string path(folderAndPattern);
    path.append(suffix);
    const SplitPath split = Split(path);
    DirHandle dir(opendir(split.folder.c_str()));
    if (!dir) {
        return;
    }
    // No FNM_PERIOD: "*" also matches a leading dot, so hidden entries are found.
    // FNM_CASEFOLD: teachers' files often come with capital extensions ("LISTA.SKG") and the
    // callers' patterns are lower case.
    const int flags = FNM_CASEFOLD;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (IsDotOrDotDot(name) || fnmatch(split.name.c_str(), entry->d_name, flags) != 0 ||
            IsFolder(dir.get(), *entry)) {
            continue;
        }
        found.emplace_back(name);
    }
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
}

bool CopyFileByMethod(int method, const std::string& source, const std::string& destination,
                      int& code, bool overwrite) {
    if (!overwrite && Exists(destination)) {
        code = EEXIST;
        return false;
    }
    if (method >= kCopyReplacing && method <= kCopyVerified && SameFile(source, destination)) {
        code = EINVAL;
        return false;
    }
    switch (method) {
        case kCopyReplacing:
            code = CopyReplacing(source, destination);
            return code == 0;
        case kCopyBlocks:
            return CopyBlocks(source, destination, code);
        case kCopyStream:
            return CopyStream(source, destination, code);
        case kCopyVerified:
            return CopyVerified(source, destination, code);
        default:
            return false;
    }
}

}  // namespace oplix
