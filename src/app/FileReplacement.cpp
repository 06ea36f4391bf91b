#include "app/FileReplacement.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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

Status FillNewFile(WritableFile& file, const std::string& path, std::span<const std::uint8_t> bytes,
                   FileSystem& files) {
    if (Result<FileStatus> existing = files.Stat(path); existing) {
        if (Status kept = file.SetPermissions(existing->permissions); !kept) {
            return kept;
        }
    }
    if (Status written = file.Append(bytes); !written) {
        return written;
    }
    if (Status synced = file.Sync(); !synced) {
        return synced;
    }
    return file.Close();
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
bool PermissionsAllowWriting(const FileStatus& info) {
    if (geteuid() == info.owner) {
        return (info.permissions & S_IWUSR) != 0;
    }
    if (InGroup(info.group)) {
        return (info.permissions & S_IWGRP) != 0;
    }
    return (info.permissions & S_IWOTH) != 0;
}

std::string TemporaryPrefix(const std::string& path) {
    return "." + NameOf(path) + ".";
}

}  // namespace

Status ReplaceFileContents(const std::string& requested, std::span<const std::uint8_t> bytes,
                           FileSystem& files) {
    const std::string path = FollowLinks(requested);
    if (Result<FileStatus> existing = files.Stat(path);
        existing && !PermissionsAllowWriting(*existing)) {
        return Error{EACCES, path + " may not be written"};
    }
    const std::string folder = FolderOf(path);
    Result<NewFile> created = files.CreateUniqueFile(folder + "/" + TemporaryPrefix(path));
    if (!created) {
        return created.error();
    }
    Status filled = FillNewFile(*created->file, path, bytes, files);
    created->file.reset();
    if (filled) {
        filled = files.Rename(created->path, path);
    }
    if (!filled) {
        (void)files.Remove(created->path);
        return filled;
    }
    (void)files.SyncFolder(folder);
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
