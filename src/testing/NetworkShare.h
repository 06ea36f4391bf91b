#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace oplix {

// A test on a network share is copied into the temp folder before it is opened, so that a
// dropped connection cannot break the archive while the pupil works.

// A path that begins with two backslashes (a Windows share) or two slashes.
bool HasNetworkPathPrefix(std::string_view path);

// The file system types statfs reports for NFS, CIFS and SMB, SMB2 and FUSE mounts (sshfs,
// gvfs and the like).
bool IsNetworkFileSystemType(std::uint32_t statfsType);

// The prefix, or the file system the existing file lies on. A file statfs cannot look at
// counts as local.
bool LiesOnNetworkShare(const std::string& path);

}  // namespace oplix
