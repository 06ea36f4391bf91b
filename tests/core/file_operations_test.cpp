#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "storage/FileOperations.h"

namespace oplix {
namespace {

namespace fs = std::filesystem;

constexpr int kMethods[] = {kCopyReplacing, kCopyBlocks, kCopyStream};

// Bytes that differ from block to block, so a skipped or repeated block shows.
std::string Pattern(std::size_t size, char salt = 0) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 4096 + static_cast<std::size_t>(salt)) % 251);
    }
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every test works in a fresh folder of its own, removed afterwards.
class FileOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "oplix-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr) << errno;
        dir_ = name;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Names in the folder, to see that a copy leaves no temporary file behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

using FileOperationsCopy = FileOperationsTest;

TEST_F(FileOperationsCopy, EveryMethodCopiesTheBytesWithItsCode) {
    // Sizes around the 4096-byte block: empty, short, exactly one block, several and a rest.
    const std::size_t sizes[] = {0, 5, 4096, 10000};
    for (int method : kMethods) {
        for (std::size_t size : sizes) {
            SCOPED_TRACE("method " + std::to_string(method) + ", " + std::to_string(size));
            const std::string data = Pattern(size);
            WriteFile(Path("source"), data);
            int code = -1;
            EXPECT_TRUE(CopyFileByMethod(method, Path("source"), Path("copy"), code, false));
            EXPECT_EQ(code, method == kCopyStream ? static_cast<int>(size) : 0);
            EXPECT_EQ(ReadFile(Path("copy")), data);
            EXPECT_EQ(Entries(), (std::vector<std::string>{"copy", "source"}));
            fs::remove(Path("copy"));
        }
    }
}

TEST_F(FileOperationsCopy, OverwriteReplacesALongerDestinationWhole) {
    for (int method : kMethods) {
        SCOPED_TRACE(method);
        const std::string data = Pattern(100, 3);
        WriteFile(Path("source"), data);
        WriteFile(Path("copy"), Pattern(20000, 9));
        int code = -1;
        EXPECT_TRUE(CopyFileByMethod(method, Path("source"), Path("copy"), code, true));
        EXPECT_EQ(code, method == kCopyStream ? 100 : 0);
        EXPECT_EQ(ReadFile(Path("copy")), data);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"copy", "source"}));
    }
}

TEST_F(FileOperationsCopy, ExistingDestinationWithoutOverwriteIsEexistAndUntouched) {
    WriteFile(Path("source"), "new");
    WriteFile(Path("copy"), "old content");
    // The check comes before the method is looked at, so an unknown method reports it too.
    for (int method : {kCopyReplacing, kCopyBlocks, kCopyStream, 7}) {
        SCOPED_TRACE(method);
        int code = -1;
        EXPECT_FALSE(CopyFileByMethod(method, Path("source"), Path("copy"), code, false));
        EXPECT_EQ(code, EEXIST);
        EXPECT_EQ(ReadFile(Path("copy")), "old content");
    }
}

TEST_F(FileOperationsCopy, MissingSourceGivesEnoentAndOnlyTheStreamCopyLeavesAFile) {
    const struct {
        int method;
        bool leavesEmptyDestination;
    } cases[] = {{kCopyReplacing, false}, {kCopyBlocks, false}, {kCopyStream, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        int code = -1;
        EXPECT_FALSE(CopyFileByMethod(c.method, Path("absent"), Path("copy"), code, true));
        EXPECT_EQ(code, ENOENT);
        EXPECT_EQ(fs::exists(Path("copy")), c.leavesEmptyDestination);
        if (c.leavesEmptyDestination) {
            EXPECT_EQ(fs::file_size(Path("copy")), 0u);
            fs::remove(Path("copy"));
        }
        EXPECT_TRUE(Entries().empty());
    }
}

TEST_F(FileOperationsCopy, DestinationFolderThatCannotTakeTheFile) {
    WriteFile(Path("source"), Pattern(300));
    WriteFile(Path("plain-file"), "x");
    fs::create_directory(Path("read-only"));
    fs::permissions(Path("read-only"), fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        std::string destination;
        int errnoValue;
    };
    std::vector<Case> cases = {{Path("missing/copy"), ENOENT}, {Path("plain-file/copy"), ENOTDIR}};
    // Permissions do not stop root.
    if (geteuid() != 0) {
        cases.push_back({Path("read-only/copy"), EACCES});
    }
    for (const Case& c : cases) {
        for (int method : kMethods) {
            SCOPED_TRACE(c.destination + ", method " + std::to_string(method));
            int code = -1;
            EXPECT_FALSE(CopyFileByMethod(method, Path("source"), c.destination, code, true));
            // A block copy reports every failure after opening the source as 0.
            EXPECT_EQ(code, method == kCopyBlocks ? 0 : c.errnoValue);
        }
    }
    EXPECT_TRUE(fs::is_empty(Path("read-only")));
}

TEST_F(FileOperationsCopy, UnreadableSourceMidCopyKeepsTheReplacedFileIntact) {
    // A folder opens for reading but every read fails with EISDIR.
    fs::create_directory(Path("folder"));
    const struct {
        int method;
        int code;
        std::string left;
    } cases[] = {{kCopyReplacing, EISDIR, "old"}, {kCopyBlocks, 0, ""}, {kCopyStream, EISDIR, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        WriteFile(Path("copy"), "old");
        int code = -1;
        EXPECT_FALSE(CopyFileByMethod(c.method, Path("folder"), Path("copy"), code, true));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(ReadFile(Path("copy")), c.left);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"copy", "folder"}));
    }
}

TEST_F(FileOperationsCopy, WriteFailureIsReportedByTheBlockAndStreamCopies) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    WriteFile(Path("source"), Pattern(10000));
    int code = -1;
    EXPECT_FALSE(CopyFileByMethod(kCopyBlocks, Path("source"), "/dev/full", code, true));
    EXPECT_EQ(code, 0);
    code = -1;
    EXPECT_FALSE(CopyFileByMethod(kCopyStream, Path("source"), "/dev/full", code, true));
    EXPECT_EQ(code, ENOSPC);
}

TEST_F(FileOperationsCopy, ReplacingCopyKeepsPermissionsAndStaysWritableByItsOwner) {
    const struct {
        fs::perms source, copy;
    } cases[] = {
        {fs::perms(0755), fs::perms(0755)},
        {fs::perms(0640), fs::perms(0640)},
        {fs::perms(0444), fs::perms(0644)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.source));
        WriteFile(Path("source"), "data");
        fs::permissions(Path("source"), c.source);
        int code = -1;
        EXPECT_TRUE(CopyFileByMethod(kCopyReplacing, Path("source"), Path("copy"), code, true));
        EXPECT_EQ(fs::status(Path("copy")).permissions(), c.copy);
        fs::remove(Path("source"));
    }
}

TEST_F(FileOperationsCopy, UnknownMethodDoesNothingAndLeavesTheCode) {
    WriteFile(Path("source"), "data");
    for (int method : {0, 5, -1, 99}) {
        SCOPED_TRACE(method);
        int code = 12345;
        EXPECT_FALSE(CopyFileByMethod(method, Path("source"), Path("copy"), code, true));
        EXPECT_EQ(code, 12345);
        EXPECT_FALSE(fs::exists(Path("copy")));
    }
}

TEST_F(FileOperationsCopy, CopyingAFileOntoItselfLeavesItWhole) {
    WriteFile(Path("test.skt"), Pattern(5000));
    ASSERT_EQ(symlink(Path("test.skt").c_str(), Path("link.skt").c_str()), 0);
    for (int method : kMethods) {
        SCOPED_TRACE(method);
        int code = 0;
        EXPECT_FALSE(CopyFileByMethod(method, Path("test.skt"), Path("link.skt"), code, true));
        EXPECT_EQ(code, EINVAL);
        EXPECT_EQ(ReadFile(Path("test.skt")), Pattern(5000));
    }
}

TEST_F(FileOperationsCopy, VerifiedCopyIsTheBlockCopyReadBackAndCompared) {
    // Past the comparison's 64 KiB reads as well as the copy's 4096-byte blocks.
    for (std::size_t size : {std::size_t{0}, std::size_t{4097}, std::size_t{200000}}) {
        SCOPED_TRACE(size);
        WriteFile(Path("source"), Pattern(size, 5));
        WriteFile(Path("copy"), Pattern(300000, 1));
        int code = -1;
        EXPECT_TRUE(CopyFileByMethod(kCopyVerified, Path("source"), Path("copy"), code, true));
        EXPECT_EQ(code, 0);
        EXPECT_EQ(ReadFile(Path("copy")), Pattern(size, 5));
    }
    int code = -1;
    EXPECT_FALSE(CopyFileByMethod(kCopyVerified, Path("absent"), Path("other"), code, true));
    EXPECT_EQ(code, ENOENT);
    EXPECT_FALSE(fs::exists(Path("other")));
    EXPECT_FALSE(CopyFileByMethod(kCopyVerified, Path("copy"), Path("copy"), code, true));
    EXPECT_EQ(code, EINVAL);
    EXPECT_EQ(ReadFile(Path("copy")), Pattern(200000, 5));
}

TEST_F(FileOperationsCopy, FilesHaveTheSameBytesOnlyWhenEveryByteAndTheLengthAgree) {
    const std::string base = Pattern(70000);
    std::string lastByteChanged = base;
    lastByteChanged.back() = static_cast<char>(lastByteChanged.back() + 1);
    const struct {
        std::string other;
        bool same;
    } cases[] = {{base, true},
                 {lastByteChanged, false},
                 {base.substr(0, 65536), false},
                 {base + "x", false},
                 {"", false}};
    WriteFile(Path("first"), base);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.other.size());
        WriteFile(Path("second"), c.other);
        int code = -1;
        EXPECT_EQ(FilesHaveSameBytes(Path("first"), Path("second"), code), c.same);
        EXPECT_EQ(code, 0);
    }
    int code = -1;
    EXPECT_FALSE(FilesHaveSameBytes(Path("first"), Path("absent"), code));
    EXPECT_EQ(code, ENOENT);
}

// A folder with files of several cases, a hidden file, folders (one named like a match), links
// to a folder and to a file, and a dangling link.
class FileOperationsListing : public FileOperationsTest {
protected:
    void SetUp() override {
        FileOperationsTest::SetUp();
        for (const char* name : {"a.skg", "B.SKG", "c.txt", ".hidden.skg", "Lista.Skg",
                                 "za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87.skg", "notes.skg.bak"}) {
            WriteFile(Path(name), "x");
        }
        fs::create_directory(Path("sub.skg"));
        fs::create_directory(Path(".git"));
        fs::create_symlink(Path("sub.skg"), Path("folder-link.skg"));
        fs::create_symlink(Path("a.skg"), Path("file-link.skg"));
        fs::create_symlink(Path("nowhere"), Path("dangling.skg"));
    }
};

TEST_F(FileOperationsListing, PatternAndSuffixFindFilesOnlyInByteOrder) {
    const struct {
        std::string pattern, suffix;
        std::vector<std::string> found;
    } cases[] = {
        {"*",
         ".skg",
         {".hidden.skg", "B.SKG", "Lista.Skg", "a.skg", "dangling.skg", "file-link.skg",
          "za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87.skg"}},
        {"*",
         "",
         {".hidden.skg", "B.SKG", "Lista.Skg", "a.skg", "c.txt", "dangling.skg", "file-link.skg",
          "notes.skg.bak", "za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87.skg"}},
        {"?", ".txt", {"c.txt"}},
        {"c", ".t*", {"c.txt"}},
        {"[ab]", ".skg", {"B.SKG", "a.skg"}},
        {"LISTA", ".SKG", {"Lista.Skg"}},
        {"sub", ".skg", {}},
        {"*", ".doc", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern + c.suffix);
        std::vector<std::string> names;
        ListFiles(Path(c.pattern), c.suffix, names);
        EXPECT_EQ(names, c.found);
    }
}

TEST_F(FileOperationsListing, NamesAreAppendedAfterWhatTheListHeld) {
    std::vector<std::string> names = {"zzz", "first"};
    ListFiles(Path("*"), ".txt", names);
    EXPECT_EQ(names, (std::vector<std::string>{"zzz", "first", "c.txt"}));
    ListFiles(Path("c"), ".txt", names);
    EXPECT_EQ(names, (std::vector<std::string>{"zzz", "first", "c.txt", "c.txt"}));
}

TEST_F(FileOperationsListing, MissingFolderOrFileAsFolderAppendsNothing) {
    std::vector<std::string> names = {"kept"};
    ListFiles(Path("missing/*"), ".skg", names);
    ListFiles(Path("a.skg/*"), "", names);
    ListFiles(Path(""), "", names);
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

TEST_F(FileOperationsListing, PatternWithoutFolderSearchesTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir_);
    std::vector<std::string> names;
    ListFiles("*", ".txt", names);
    fs::current_path(previous);
    EXPECT_EQ(names, std::vector<std::string>{"c.txt"});
}

}  // namespace
}  // namespace oplix
