#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "failing_file_system.h"
#include "fakes.h"
#include "storage/Checksums.h"
#include "testing/InterruptedWorkCoding.h"
#include "testing/InterruptedWorkOffer.h"
#include "testing/SessionStore.h"
#include "testing_session_support.h"

namespace oplix {
namespace {

using testing_fakes::ScopedEnvironmentVariable;
using testing_files::FailingFileSystem;
using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;
using testing_session::OneAnswerTest;
using testing_session::SessionHarness;

constexpr std::string_view kFoundLine = "Znaleziono przerwaną pracę nad testem test.skt.";
constexpr std::string_view kDamagedLine =
    "Plik przerwanej pracy jest uszkodzony i został usunięty: ";

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The work as it is kept, apart from the moment it was kept.
InterruptedWork Timeless(InterruptedWork work) {
    work.savedMilliseconds = 0;
    return work;
}

// A run that is interrupted, and the next run on the same data folder hours later, whose
// answers would be drawn in another order.
class InterruptedWorkTest : public ::testing::Test {
protected:
    InterruptedWorkTest() { first.session.KeepWorkIn(&store); }

    SessionHarness& NextRun(MessageBoxResult answer) {
        next = std::make_unique<SessionHarness>();
        next->clock.Advance(7200);
        next->random.drawFirst = true;
        next->messages.answer = answer;
        next->session.KeepWorkIn(&nextStore);
        resumed = OfferInterruptedWork(nextStore, next->session, next->journal, next->messages);
        return *next;
    }

    std::vector<std::string> NextJournal() const { return next->Journalled(); }

    ScopedEnvironmentVariable locale_{"LC_ALL", "C"};
    ScopedEnvironmentVariable zone_{"TZ", "UTC"};
    SessionHarness first;
    const std::string path = first.folder.File("Przerwany.dat");
    SessionStore store{path};
    SessionStore nextStore{path};
    // Written anew, as the teacher would copy a test in again.
    std::string FreshTest(const TestDocument& test) {
        unlink(first.folder.File("test.skt").c_str());
        return first.WriteTest(test);
    }
    std::unique_ptr<SessionHarness> next;
    bool resumed = false;
};

// What the pupil sees of the test, and what its session holds, are the same in both runs.
void ExpectSameTest(const SessionHarness& before, const SessionHarness& after) {
    EXPECT_EQ(Timeless(after.session.Work()), Timeless(before.session.Work()));
    const TestDocument& was = before.session.Document();
    const TestDocument& is = after.session.Document();
    for (int q = 1; q <= was.questionCount; ++q) {
        for (int k = 0; k < kMaxAnswers; ++k) {
            const Answer& a = was.At(q).answers[static_cast<std::size_t>(k)];
            const Answer& b = is.At(q).answers[static_cast<std::size_t>(k)];
            EXPECT_EQ(b.displaySlot, a.displaySlot) << q << "/" << k;
            EXPECT_EQ(b.isChosen, a.isChosen) << q << "/" << k;
        }
    }
    EXPECT_EQ(after.panel.rows, before.panel.rows);
    EXPECT_EQ(after.panel.buttons, before.panel.buttons);
    EXPECT_EQ(after.panel.questionText, before.panel.questionText);
    EXPECT_EQ(after.panel.answerLabels, before.panel.answerLabels);
    EXPECT_EQ(after.panel.hintPanel, before.panel.hintPanel);
    EXPECT_EQ(after.panel.gradeButton, before.panel.gradeButton);
    EXPECT_EQ(after.panel.gauge, before.panel.gauge);
    if (before.panel.gauge) {
        EXPECT_EQ(after.panel.gaugePosition, before.panel.gaugePosition);
        EXPECT_EQ(after.panel.gaugeHint, before.panel.gaugeHint);
    }
    EXPECT_EQ(after.panel.statusLine, before.panel.statusLine);
    EXPECT_TRUE(after.panel.panel);
    EXPECT_TRUE(after.panel.highlighted.at(before.session.CurrentQuestion()));
    EXPECT_EQ(after.timer.running, before.timer.running);
    EXPECT_EQ(after.session.StartTime(), before.session.StartTime());
    if (before.session.IsFinished()) {
        ASSERT_FALSE(after.summary.shown.empty());
        EXPECT_EQ(after.summary.shown.back().text, before.summary.shown.back().text);
        EXPECT_EQ(after.summary.shown.back().saveOffered, before.summary.shown.back().saveOffered);
    }
}

TestDocument TestWithHint(int timeLimit = 0, int testType = 0) {
    TestDocument test = OneAnswerTest(4, 5, timeLimit);
    test.testType = testType;
    test.At(2).hint = "Pomyśl o zimie.";
    return test;
}

void MarkEveryQuestion(SessionHarness& run) {
    for (int q = 1; q <= run.session.Document().questionCount; ++q) {
        run.session.SelectQuestion(q);
        run.MarkAnswerAt(1);
    }
}

TEST_F(InterruptedWorkTest, EveryMomentComesBackAsItWas) {
    const struct {
        const char* name;
        TestDocument test;
        std::function<void(SessionHarness&)> work;
    } moments[] = {
        {"before the first mark", TestWithHint(), [](SessionHarness&) {}},
        {"mid-test", TestWithHint(),
         [](SessionHarness& run) {
             run.MarkAnswerAt(2);
             run.session.SelectQuestion(3);
             run.MarkAnswerAt(1);
             run.MarkAnswerAt(4);
             run.session.SelectQuestion(2);
         }},
        {"hint shown", TestWithHint(),
         [](SessionHarness& run) {
             run.session.SelectQuestion(2);
             run.session.ToggleHint();
         }},
        {"several answers", TestWithHint(0, 1),
         [](SessionHarness& run) {
             run.MarkAnswerAt(1);
             run.MarkAnswerAt(3);
             run.MarkAnswerAt(5);
             run.MarkAnswerAt(1);
         }},
        {"three of twenty minutes used", TestWithHint(20),
         [](SessionHarness& run) {
             run.MarkAnswerAt(1);
             for (int minute = 0; minute < 3; ++minute) {
                 run.clock.Advance(60);
                 run.session.TickMinute();
             }
         }},
        {"every question answered", TestWithHint(), MarkEveryQuestion},
        {"graded", TestWithHint(),
         [](SessionHarness& run) {
             MarkEveryQuestion(run);
             run.clock.Advance(95);
             run.session.FinishTest();
         }},
        {"graded when the time ran out", TestWithHint(2),
         [](SessionHarness& run) {
             run.MarkAnswerAt(3);
             for (int minute = 0; minute < 2; ++minute) {
                 run.clock.Advance(60);
                 run.session.TickMinute();
             }
         }},
    };
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.name);
        ASSERT_TRUE(first.StartAnonymously(FreshTest(moment.test)));
        moment.work(first);
        // Kept within the call that changed it.
        const Result<std::optional<InterruptedWork>> kept = store.Find();
        ASSERT_TRUE(kept.ok() && kept->has_value());
        EXPECT_EQ(Timeless(**kept), Timeless(first.session.Work()));

        const SessionHarness& after = NextRun(MessageBoxResult::Yes);
        EXPECT_TRUE(resumed);
        ExpectSameTest(first, after);
        EXPECT_EQ(NextJournal().front(), kFoundLine);
        EXPECT_EQ(NextJournal().back(), "Wznowiono przerwaną pracę nad testem test.skt.");
    }
}

TEST_F(InterruptedWorkTest, TheQuestionNamesTestPupilAndMoment) {
    const std::string test = FreshTest(TestWithHint());
    ASSERT_TRUE(first.StartAnonymously(test));
    first.clock.Advance(125);
    first.MarkAnswerAt(1);
    NextRun(MessageBoxResult::Yes);
    ASSERT_EQ(next->messages.shown.size(), 1u);
    EXPECT_EQ(next->messages.shown[0].kind, MessageKind::YesNoCancel);
    EXPECT_EQ(next->messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(next->messages.shown[0].text,
              "Praca nad testem „Ptaki Polski” (Anonimowy użytkownik) została przerwana "
              "12/10/25 o 09:02:05.\rCzy chcesz ją dokończyć?");

    CurrentChoice named;
    named.testPath = test;
    named.mode = StartMode::NamedPupilWithTestFile;
    named.surname = "Wiśniewska";
    named.firstName = "Zofia";
    ASSERT_TRUE(first.session.StartTest(named));
    NextRun(MessageBoxResult::Yes);
    ASSERT_EQ(next->messages.shown.size(), 1u);
    EXPECT_NE(next->messages.shown[0].text.find("(Wiśniewska Zofia)"), std::string::npos);
}

TEST_F(InterruptedWorkTest, TimeAwayDoesNotCountAgainstTheLimit) {
    ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint(5))));
    for (int minute = 0; minute < 3; ++minute) {
        first.session.TickMinute();
    }
    SessionHarness& after = NextRun(MessageBoxResult::Yes);  // two hours later
    ASSERT_TRUE(after.session.IsRunning());
    EXPECT_EQ(after.session.ElapsedMinutes(), 3);
    EXPECT_TRUE(after.timer.running);
    after.session.TickMinute();
    EXPECT_TRUE(after.session.IsRunning());
    after.session.TickMinute();
    EXPECT_TRUE(after.session.IsFinished());
    EXPECT_TRUE(after.session.EndedByTimer());
}

TEST_F(InterruptedWorkTest, AGradedTestComesBackForTheAnonymousPupilToSave) {
    ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint())));
    MarkEveryQuestion(first);
    first.session.FinishTest();
    SessionHarness& after = NextRun(MessageBoxResult::Yes);
    ASSERT_TRUE(after.session.IsFinished());
    const std::string result = after.folder.File("wynik.sko");
    EXPECT_TRUE(after.session.SaveResult(result));
    EXPECT_EQ(after.session.WrittenResultPath(), result);
}

TEST_F(InterruptedWorkTest, ANamedPupilsResumedTestWritesIntoHisClassFolder) {
    const std::string classFolder = first.folder.File("wyniki4a");
    std::filesystem::create_directory(classFolder);
    StudentsList students;
    students.classCount = 1;
    ClassRecord& only = students.classes.emplace_back();
    only.className = "4a";
    only.resultFolder = classFolder;
    only.classTime = "30";
    only.pupilCount = 1;
    only.pupils[0] = {"Zofia", "Wiśniewska"};
    CurrentChoice named;
    named.testPath = FreshTest(TestWithHint());
    named.mode = StartMode::NamedPupilWithTestFile;
    named.classIndex = 0;
    named.pupilIndex = 0;
    named.surname = "Wiśniewska";
    named.firstName = "Zofia";
    ASSERT_TRUE(first.session.StartTest(named, &students));
    first.MarkAnswerAt(1);

    SessionHarness& after = NextRun(MessageBoxResult::Yes);  // without the students list
    EXPECT_EQ(after.session.Document().timeLimit, 30);
    MarkEveryQuestion(after);
    after.session.FinishTest();
    EXPECT_EQ(after.session.WrittenResultPath(),
              classFolder + "/Ptaki Polski_Wiśniewska_Zofia.sko");
    EXPECT_TRUE(Exists(after.session.WrittenResultPath()));
}

TEST_F(InterruptedWorkTest, LeavingTheTestTakesTheRecordAway) {
    ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint())));
    first.MarkAnswerAt(1);
    EXPECT_TRUE(Exists(path));
    first.settings.al = false;
    ASSERT_TRUE(first.session.LeaveTest());
    EXPECT_FALSE(Exists(path));
    NextRun(MessageBoxResult::Yes);
    EXPECT_FALSE(resumed);
    EXPECT_TRUE(next->messages.shown.empty());
}

TEST_F(InterruptedWorkTest, NoOrCancelDiscardsTheWork) {
    for (const MessageBoxResult answer : {MessageBoxResult::No, MessageBoxResult::Cancel}) {
        ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint())));
        first.MarkAnswerAt(1);
        const SessionHarness& after = NextRun(answer);
        EXPECT_FALSE(resumed);
        EXPECT_FALSE(after.panel.panel);
        EXPECT_FALSE(Exists(path));
        EXPECT_EQ(NextJournal(),
                  (std::vector<std::string>{std::string(kFoundLine),
                                            "Porzucono przerwaną pracę nad testem test.skt."}));
    }
}

TEST_F(InterruptedWorkTest, AChangedOrVanishedTestFileIsNotResumed) {
    const struct {
        const char* name;
        std::function<void(const std::string& test)> change;
    } changes[] = {
        {"rewritten",
         [this](const std::string&) {
             TestDocument other = TestWithHint();
             other.At(1).text = "Inne pytanie";
             FreshTest(other);
         }},
        {"touched",
         [](const std::string& test) {
             const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
             ASSERT_EQ(utimensat(AT_FDCWD, test.c_str(), times, 0), 0);
         }},
        {"removed", [](const std::string& test) { ASSERT_EQ(unlink(test.c_str()), 0); }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        const std::string test = FreshTest(TestWithHint());
        ASSERT_TRUE(first.StartAnonymously(test));
        first.MarkAnswerAt(1);
        change.change(test);
        const SessionHarness& after = NextRun(MessageBoxResult::Yes);
        EXPECT_FALSE(resumed);
        EXPECT_FALSE(after.panel.panel);
        EXPECT_FALSE(Exists(path));
        ASSERT_EQ(after.messages.shown.size(), 2u);
        EXPECT_EQ(after.messages.shown[1].kind, MessageKind::Close);
        EXPECT_EQ(after.messages.shown[1].text,
                  "Plik testu „Ptaki Polski” zmienił się lub zniknął od czasu przerwania pracy. "
                  "Nie można jej dokończyć.");
        EXPECT_EQ(NextJournal().back(),
                  "Plik testu test.skt zmienił się lub zniknął. Przerwanej pracy nie można "
                  "dokończyć.");
    }
}

TEST_F(InterruptedWorkTest, DamagedRecordsAreJournalledAndRemoved) {
    ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint())));
    first.MarkAnswerAt(2);
    const Bytes whole = ReadFileBytes(path);
    std::vector<std::pair<std::string, Bytes>> damaged;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        damaged.emplace_back("cut at " + std::to_string(size),
                             Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
    }
    Bytes flipped = whole;
    flipped[flipped.size() - 3] ^= 0x40;
    damaged.emplace_back("a changed byte", flipped);
    Bytes otherVersion = whole;
    otherVersion[8] = 2;
    damaged.emplace_back("another version", otherVersion);
    Bytes longer = whole;
    longer.push_back(0);
    damaged.emplace_back("a byte too many", longer);
    const std::string foreign = "[Przerwany]\nplik=test.skt\n";
    damaged.emplace_back("a foreign file", Bytes(foreign.begin(), foreign.end()));
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        WriteFileBytes(path, bytes);
        const SessionHarness& after = NextRun(MessageBoxResult::Yes);
        EXPECT_FALSE(resumed);
        EXPECT_TRUE(after.messages.shown.empty());
        EXPECT_FALSE(Exists(path));
        ASSERT_EQ(NextJournal().size(), 1u);
        EXPECT_TRUE(NextJournal()[0].starts_with(kDamagedLine)) << NextJournal()[0];
    }
}

TEST(InterruptedWorkCoding, ValuesOutOfRangeAreNoRecord) {
    InterruptedWork work;
    work.testPath = "/tmp/test.skt";
    work.mode = StartMode::TestFileAnonymously;
    work.answerCount = 3;
    work.questions = {{"312", 1}, {"231", 0}};
    work.currentQuestion = 2;
    ASSERT_TRUE(DecodeInterruptedWork(EncodeInterruptedWork(work)).ok());
    const struct {
        const char* name;
        std::function<void(InterruptedWork&)> spoil;
    } cases[] = {
        {"no test", [](InterruptedWork& w) { w.testPath.clear(); }},
        {"no mode", [](InterruptedWork& w) { w.mode = StartMode::None; }},
        {"six answers", [](InterruptedWork& w) { w.answerCount = 6; }},
        {"an order of other digits", [](InterruptedWork& w) { w.questions[0].order = "390"; }},
        {"a mark beyond five answers", [](InterruptedWork& w) { w.questions[1].chosen = 32; }},
        {"a question beyond the test", [](InterruptedWork& w) { w.currentQuestion = 3; }},
        {"46 questions", [](InterruptedWork& w) { w.questions.resize(46); }},
    };
    for (const auto& c : cases) {
        InterruptedWork spoilt = work;
        c.spoil(spoilt);
        EXPECT_FALSE(DecodeInterruptedWork(EncodeInterruptedWork(spoilt)).ok()) << c.name;
    }
}

// However far the writing of a new record gets before the program dies, the file holds the
// old record or the new one, whole; and success is reported only when it holds the new one.
TEST_F(InterruptedWorkTest, ACrashAtAnyStepOfAWriteLeavesTheOldRecordOrTheNew) {
    ASSERT_TRUE(first.StartAnonymously(FreshTest(TestWithHint())));
    first.MarkAnswerAt(1);
    const InterruptedWork old = Timeless(first.session.Work());
    first.session.SelectQuestion(3);
    first.MarkAnswerAt(2);
    const InterruptedWork newer = Timeless(first.session.Work());
    for (const bool shortWrites : {false, true}) {
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE("call " + std::to_string(failAt) + (shortWrites ? ", short" : ""));
            ASSERT_TRUE(store.Keep(old).ok());
            FailingFileSystem files(failAt, shortWrites);
            const Status kept = SessionStore(path, files).Keep(newer);
            const Result<std::optional<InterruptedWork>> found = store.Find();
            ASSERT_TRUE(found.ok() && found->has_value());
            const InterruptedWork onDisk = Timeless(**found);
            EXPECT_TRUE(onDisk == old || onDisk == newer);
            if (kept.ok()) {
                EXPECT_EQ(onDisk, newer);
            }
            if (!files.Failed()) {
                EXPECT_TRUE(kept.ok());
                EXPECT_GT(failAt, 3);
                break;
            }
        }
    }
}

}  // namespace
}  // namespace oplix
