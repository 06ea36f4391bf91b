#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/Journal.h"
#include "fakes.h"
#include "journal_lines.h"
#include "storage/Cp1250.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_fakes::ScopedEnvironmentVariable;

using testing_fakes::FixedClock;
using testing_files::JournalMessages;
using testing_files::ReadFileBytes;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

std::string TextOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST(Journal, LineIsMessageDateAndTimeInWindows1250WithCrLf) {
    // The fixed clock stands at 2025-12-10 09:00:00 UTC. An unknown locale falls back to C.
    for (const char* locale : {"C", "C.UTF-8", "xx_XX.UTF-8"}) {
        SCOPED_TRACE(locale);
        const ScopedEnvironmentVariable zone("TZ", "UTC");
        const ScopedEnvironmentVariable language("LC_ALL", locale);
        ScratchFolder folder;
        const FixedClock clock;
        Journal journal(clock);
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.Write(0, "Uszkodzony plik Test.ini. Błąd odczytu.");
        EXPECT_EQ(
            TextOf(ReadFileBytes(folder.File("Dziennik.txt"))),
            Utf8ToCp1250("Uszkodzony plik Test.ini. Błąd odczytu.") + " - 12/10/25 09:00:00\r\n");
    }
}

TEST(Journal, WritesAMessageOnlyWhenTheLevelReachesIt) {
    for (int configured = 0; configured <= 4; ++configured) {
        SCOPED_TRACE(configured);
        ScratchFolder folder;
        const FixedClock clock;
        Journal journal(clock);
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.SetLevel(configured);
        std::vector<std::string> expected;
        for (int level = 0; level <= 3; ++level) {
            const std::string message = "poziom " + std::to_string(level);
            journal.Write(level, message);
            if (level <= configured) {
                expected.push_back(message);
            }
        }
        EXPECT_EQ(JournalMessages(folder.File("Dziennik.txt")), expected);
    }
}

TEST(Journal, StartsAtLevelZeroAndWritesNothingWithoutAFile) {
    ScratchFolder folder;
    const FixedClock clock;
    Journal journal(clock);
    EXPECT_EQ(journal.Level(), 0);
    journal.Write(0, "bez pliku");
    journal.Write(1, "za wysoki poziom");
    journal.SetFile(folder.File("Dziennik.txt"));
    journal.Write(0, "z plikiem");
    EXPECT_EQ(JournalMessages(folder.File("Dziennik.txt")), std::vector<std::string>{"z plikiem"});
}

// Earlier content stays as it was; a last line without its end gets one, so that the new line
// is a line of its own.
TEST(Journal, AppendsAfterTheEarlierContentOnALineOfItsOwn) {
    const struct {
        std::string earlier;
        std::string between;
    } cases[] = {
        {"stara linia - 01.01.2020 10:00:00\r\n", ""},
        {"stara linia - 01.01.2020 10:00:00\r\nbez końca linii", "\r\n"},
        {"ucięta w pół końca\r", "\n"},
        {"z końcem linii Uniksa\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.earlier);
        ScratchFolder folder;
        const std::string path = folder.File("Dziennik.txt");
        WriteFileBytes(path, BytesOf(c.earlier));
        const FixedClock clock;
        Journal journal(clock);
        journal.SetFile(path);
        journal.Write(0, "nowa");
        const std::string after = TextOf(ReadFileBytes(path));
        EXPECT_TRUE(after.starts_with(c.earlier + c.between + "nowa - ")) << after;
        EXPECT_TRUE(after.ends_with("\r\n"));
    }
}

// A write that takes only part of the line (here a signal while a pipe is full) is followed by
// the rest of it.
TEST(Journal, AShortWriteIsFollowedByTheRestOfTheLine) {
    ScratchFolder folder;
    const std::string path = folder.File("Dziennik.fifo");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    struct sigaction wake {};
    wake.sa_handler = [](int) {};
    sigemptyset(&wake.sa_mask);
    wake.sa_flags = 0;  // no restart: the blocked write returns what it wrote so far
    struct sigaction old {};
    ASSERT_EQ(sigaction(SIGUSR1, &wake, &old), 0);

    const std::string message(300000, 'x');  // far more than a pipe holds
    std::string received;
    const pthread_t writer = pthread_self();
    std::thread reader([&] {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the writer is blocked
        pthread_kill(writer, SIGUSR1);
        char buffer[65536];
        for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
            received.append(buffer, static_cast<std::size_t>(got));
        }
        close(fd);
    });
    const FixedClock clock;
    Journal journal(clock);
    journal.SetFile(path);
    journal.Write(0, message);
    reader.join();
    sigaction(SIGUSR1, &old, nullptr);
    EXPECT_TRUE(received.starts_with(message + " - ")) << received.size();
    EXPECT_TRUE(received.ends_with("\r\n"));
}

TEST(Journal, AJournalThatCannotBeWrittenIsSkippedSilently) {
    ScratchFolder folder;
    WriteFileBytes(folder.File("plik"), BytesOf("zwykły plik"));
    ASSERT_EQ(mkdir(folder.File("folder").c_str(), 0755), 0);
    const FixedClock clock;
    // A folder in place of the file, and a file in place of the folder.
    for (const std::string& path : {folder.File("folder"), folder.File("plik") + "/Dziennik.txt"}) {
        Journal journal(clock);
        journal.SetFile(path);
        journal.Write(0, "nie do zapisania");
    }
    EXPECT_EQ(TextOf(ReadFileBytes(folder.File("plik"))), "zwykły plik");
}

TEST(Journal, AReadOnlyJournalIsLeftAlone) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    ScratchFolder folder;
    const std::string path = folder.File("Dziennik.txt");
    WriteFileBytes(path, BytesOf("stara\r\n"));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const FixedClock clock;
    Journal journal(clock);
    journal.SetFile(path);
    journal.Write(0, "nowa");
    EXPECT_EQ(TextOf(ReadFileBytes(path)), "stara\r\n");
}

TEST(Journal, TwoJournalsOnOneFileLoseNoLine) {
    ScratchFolder folder;
    const std::string path = folder.File("Dziennik.txt");
    constexpr int kLinesEach = 2000;
    const FixedClock clock;
    auto writeLines = [&](const std::string& name) {
        Journal journal(clock);
        journal.SetFile(path);
        for (int i = 0; i < kLinesEach; ++i) {
            journal.Write(0, name + " " + std::to_string(i));
        }
    };
    std::thread first(writeLines, "pierwszy");
    std::thread second(writeLines, "drugi");
    first.join();
    second.join();
    const std::vector<std::string> messages = JournalMessages(path);
    ASSERT_EQ(messages.size(), 2u * kLinesEach);
    int next[2] = {0, 0};
    for (const std::string& message : messages) {
        // Each writer's lines stay whole and in its own order.
        const bool isFirst = message.starts_with("pierwszy ");
        const std::string expected =
            (isFirst ? "pierwszy " : "drugi ") + std::to_string(next[isFirst ? 0 : 1]++);
        ASSERT_EQ(message, expected);
    }
}

}  // namespace
}  // namespace oplix
