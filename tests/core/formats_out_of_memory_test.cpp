// A document whose description member is too large for the memory the process may use is a
// damaged file: the readers say so, and the program goes on.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "fakes.h"
#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "formats_testfile_support.h"
#include "test_files.h"

namespace oplix {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceIsReserved = true;  // the sanitizer's shadow memory needs it all
#else
constexpr bool kAddressSpaceIsReserved = false;
#endif

using testing_fakes::FixedClock;
using testing_fakes::RecordingMessageBox;
using testing_files::JournalMessages;
using testing_files::ScratchFolder;
using testing_testfile::ReadHarness;

constexpr std::uint32_t kHugeMemberSize = 1u << 30;

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// An archive whose one member of 1 GiB is a hole in a sparse file, so it takes no disk space.
void WriteSparseArchive(const std::string& path, const std::string& member) {
    const std::uint32_t directoryOffset = 12 + kHugeMemberSize;
    std::vector<std::uint8_t> header = {'P', 'A', 'C', 'K'};
    Put32(header, directoryOffset);
    Put32(header, 128);
    std::vector<std::uint8_t> entry(120, 0);
    std::copy(member.begin(), member.end(), entry.begin());
    Put32(entry, 12);
    Put32(entry, kHugeMemberSize);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(pwrite(fd, header.data(), header.size(), 0), 12);
    EXPECT_EQ(pwrite(fd, entry.data(), entry.size(), directoryOffset), 128);
    close(fd);
}

// Lets the process map at most 256 MiB more than it has mapped now.
void LimitAddressSpace() {
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) {
            pages = 0;
        }
        std::fclose(statm);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (256u << 20);
    const rlimit reduced{limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &reduced) != 0) {
        std::_Exit(2);
    }
}

struct HugeDocument {
    const char* name;
    const char* member;
    // Reads `path` and tells whether the reader failed with `journalLine`.
    std::function<bool(const std::string& path, std::string& journalLine)> readFails;
};

bool StudentsListFails(const std::string& path, std::string& journalLine) {
    const FixedClock clock;
    ScratchFolder folder;
    Journal journal(clock);
    journal.SetFile(folder.File("Dziennik.txt"));
    StudentsList list;
    CurrentChoice choice;
    const bool read = ReadStudentsList(path, list, choice, journal, clock);
    const std::vector<std::string> lines = JournalMessages(folder.File("Dziennik.txt"));
    journalLine = lines.empty() ? "" : lines.back();
    return !read && list.classes.empty();
}

bool TestsListFails(const std::string& path, std::string& journalLine) {
    const FixedClock clock;
    ScratchFolder folder;
    Journal journal(clock);
    journal.SetFile(folder.File("Dziennik.txt"));
    RecordingMessageBox box;
    TestsList list;
    const bool read = ReadTestsList(path, list, journal, box);
    const std::vector<std::string> lines = JournalMessages(folder.File("Dziennik.txt"));
    journalLine = lines.empty() ? "" : lines.back();
    return !read && list.entries.empty() && box.shown.size() == 1;
}

bool TestFails(const std::string& path, std::string& journalLine) {
    ReadHarness reader;
    const TestReadOutcome outcome = reader.Read(path);
    const std::vector<std::string> lines = reader.Journalled();
    journalLine = lines.empty() ? "" : lines.back();
    return outcome == TestReadOutcome::Failed && reader.messages.shown.size() == 1;
}

TEST(ReadersOutOfMemory, AHugeDescriptionIsADamagedFile) {
    if (kAddressSpaceIsReserved) {
        GTEST_SKIP() << "the address space cannot be limited under AddressSanitizer";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        HugeDocument document;
        std::string journalLine;
    } cases[] = {
        {{"students list", "Selu0.xml", StudentsListFails},
         "Odczyt. Problemy z wczytaniem pliku listy uczniów."},
        {{"tests list", "Selt0.xml", TestsListFails}, "Odczyt listy testów. Ver 40. Błąd odczytu."},
        {{"test", "Serr0.xml", TestFails}, "Odczyt. Błąd wczytywania pliku Serr0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document.name);
        ScratchFolder folder;
        const std::string path = folder.File("duzy");
        WriteSparseArchive(path, c.document.member);
        // In a child process, which alone runs short of memory; it exits 0 only when the
        // reader failed as a damaged file with the expected journal line.
        EXPECT_EXIT(
            {
                LimitAddressSpace();
                std::string line;
                const bool failed = c.document.readFails(path, line);
                std::_Exit(failed && line == c.journalLine ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
}  // namespace oplix
