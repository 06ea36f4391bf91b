#include "app/FileReplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "storage/FileHandle.h"

namespace oplix {
namespace {

constexpr std::size_t kTemporarySuffixLength = 6;  // mkostemp's XXXXXX
constexpr std::time_t kStaleAfterSeconds = 60;

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

// A link is followed, so that its target gets the new content and the link stays a link.
std::string FollowLinks(std::string path) {
    constexpr int kMostLinks = 40;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

bool InGroup(gid_t group) {
    if (getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int filled = getgroups(count, groups.data());
    return filled > 0 &&
           std::find(groups.begin(), groups.begin() + filled, group) != groups.begin() + filled;
}

// The file's own permission bits decide, for the administrator too: a school locks a file by
// taking its write bits away.
bool PermissionsAllowWriting(const struct stat& info) {
    if (geteuid() == info.st_uid) {
        return (info.st_mode & S_IWUSR) != 0;
    }
    if (InGroup(info.st_gid)) {
        return (info.st_mode & S_IWGRP) != 0;
    }
    return (info.st_mode & S_IWOTH) != 0;
}

std::string TemporaryPrefix(const std::string& path) {
    return "." + NameOf(path) + ".";
}

}  // namespace

Status ReplaceFileContents(const std::string& requested, std::span<const std::uint8_t> bytes) {
    const std::string path = FollowLinks(requested);
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && !PermissionsAllowWriting(existing)) {
        return Error{EACCES, path + " may not be written"};
    }
    const std::string folder = FolderOf(path);
    std::string temporaryPath = folder + "/" + TemporaryPrefix(path) + "XXXXXX";
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

void RemoveStaleReplacements(const std::string& path, std::time_t now) {
    const std::string folder = FolderOf(path);
    const std::string prefix = TemporaryPrefix(path);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix)) {
            continue;
        }
        const std::string stale = folder + "/" + name;
        struct stat info {};
        if (lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            now - info.st_mtime >= kStaleAfterSeconds) {
            unlink(stale.c_str());
        }
    }
    closedir(listing);
}

}  // namespace oplix
