#include "testing/NetworkShare.h"

#include <sys/vfs.h>

#include <algorithm>
#include <array>

namespace oplix {
namespace {

// The magic numbers of linux/magic.h and the CIFS client, kept here so that the build does
// not depend on kernel headers.
constexpr std::array<std::uint32_t, 5> kNetworkFileSystemTypes = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE
};

}  // namespace

bool HasNetworkPathPrefix(std::string_view path) {
    return path.starts_with("\\\\") || path.starts_with("//");
}

bool IsNetworkFileSystemType(std::uint32_t statfsType) {
    return std::find(kNetworkFileSystemTypes.begin(), kNetworkFileSystemTypes.end(), statfsType) !=
           kNetworkFileSystemTypes.end();
}

bool LiesOnNetworkShare(const std::string& path) {
    if (HasNetworkPathPrefix(path)) {
        return true;
    }
    struct statfs info {};
    if (statfs(path.c_str(), &info) != 0) {
        return false;
    }
    // f_type is a signed word: on a 32-bit system the CIFS magic arrives negative.
    return IsNetworkFileSystemType(static_cast<std::uint32_t>(info.f_type));
}

}  // namespace oplix
