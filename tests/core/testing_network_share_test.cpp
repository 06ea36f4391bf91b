#include "testing/NetworkShare.h"

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"

namespace oplix {
namespace {

TEST(NetworkShareTest, TwoBackslashesOrTwoSlashesBeginANetworkPath) {
    const struct {
        std::string_view path;
        bool network;
    } cases[] = {
        {"\\\\serwer\\testy\\ptaki.skt", true},
        {"//serwer/testy/ptaki.skt", true},
        {"\\\\", true},
        {"/home/uczen/ptaki.skt", false},
        {"\\serwer\\ptaki.skt", false},
        {"/\\serwer/ptaki.skt", false},
        {"ptaki.skt", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasNetworkPathPrefix(c.path), c.network) << c.path;
    }
}

TEST(NetworkShareTest, NetworkFileSystemsByTheirStatfsType) {
    const struct {
        std::uint32_t type;
        bool network;
    } cases[] = {
        {0x6969, true},       // NFS
        {0x517B, true},       // SMB
        {0xFF534D42, true},   // CIFS
        {0xFE534D42, true},   // SMB2
        {0x65735546, true},   // FUSE: sshfs, gvfs
        {0xEF53, false},      // ext2/3/4
        {0x01021994, false},  // tmpfs
        {0x794C7630, false},  // overlayfs
        {0x58465342, false},  // XFS
        {0x9123683E, false},  // Btrfs
        {0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNetworkFileSystemType(c.type), c.network) << std::hex << c.type;
    }
}

TEST(NetworkShareTest, FileIsJudgedByItsPathAndThenItsFileSystem) {
    testing_files::ScratchFolder folder;
    const std::string path = folder.File("ptaki.skt");
    testing_files::WriteFileBytes(path, Bytes{1, 2, 3});
    // The scratch folder lies on a local disk on every machine the tests run on.
    EXPECT_FALSE(LiesOnNetworkShare(path));
    EXPECT_TRUE(LiesOnNetworkShare("/" + path));
    EXPECT_FALSE(LiesOnNetworkShare(folder.File("absent.skt")));
}

}  // namespace
}  // namespace oplix
