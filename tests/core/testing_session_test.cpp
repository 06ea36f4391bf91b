#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/ResultFileReader.h"
#include "formats/ResultRecord.h"
#include "storage/FileOperations.h"
#include "testing/ResultFileName.h"
#include "testing_session_support.h"

namespace oplix {
namespace {

namespace fs = std::filesystem;
using testing_session::OneAnswerTest;
using testing_session::SessionHarness;
using State = testing_fakes::FakeSideWindow::State;
using L = LetterState;

constexpr std::string_view kLeaveQuestion =
    "Nie dokończyłeś pracy z testem.\rCzy rzeczywiście zamknąć?";

TEST(TestSessionStartTest, AnonymousTestFromAFileIsShownAtQuestionOne) {
    SessionHarness h;
    const std::string path = h.WriteTest(OneAnswerTest(3, 3));
    ASSERT_TRUE(h.StartAnonymously(path));

    EXPECT_EQ(h.Journalled(),
              (std::vector<std::string>{"Wybrano plik lokalny test.skt.", "Wczytano plik test.skt.",
                                        "Wypelniono okno zawartością: test.skt."}));
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.session.Mode(), StartMode::TestFileAnonymously);
    EXPECT_EQ(h.session.TestPath(), path);
    EXPECT_TRUE(h.session.LocalCopyPath().empty());
    EXPECT_TRUE(h.session.ResultPath().empty());
    EXPECT_TRUE(h.session.IsRunning());
    EXPECT_FALSE(h.session.IsFinished());
    EXPECT_EQ(h.session.StartTime(), h.clock.Now());

    EXPECT_TRUE(h.panel.panel);
    EXPECT_EQ(h.panel.focusMoves, 1);
    EXPECT_EQ(h.panel.statusLine,
              "Anonimowy użytkownik rozwiązuje test \"Ptaki Polski\".  Autor testu: Łucja Gęślą");
    EXPECT_EQ(h.panel.listQuestions, 3);
    EXPECT_EQ(h.panel.listAnswers, 3);
    EXPECT_EQ(h.session.CurrentQuestion(), 1);
    EXPECT_EQ(h.panel.highlighted, (std::map<int, bool>{{1, true}}));
    EXPECT_EQ(h.panel.questionText, "Pytanie 1");
    // The order "312": answer 1 in slot 3, answer 2 in slot 1, answer 3 in slot 2.
    EXPECT_EQ(h.panel.answerLabels, (std::vector<std::string>{"Q1A2", "Q1A3", "Q1A1"}));
    EXPECT_EQ(h.session.SlotText(1, 3), "Q1A1");
    EXPECT_EQ(h.session.SlotText(1, 4), "");
    EXPECT_EQ(h.session.AnswerInSlot(1, 4), nullptr);
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{}));
    EXPECT_FALSE(h.panel.gradeButton);
    EXPECT_FALSE(h.panel.hintButton);
    EXPECT_FALSE(h.panel.severalAnswersStrip);
    EXPECT_FALSE(h.panel.gauge);
    EXPECT_FALSE(h.timer.running);
    EXPECT_EQ(h.textWindow.state, State::Empty);
    EXPECT_EQ(h.pictureWindow.state, State::Empty);
    EXPECT_FALSE(h.legend.shown);
}

TEST(TestSessionStartTest, JournalLinesKeepTheirLevels) {
    const std::vector<std::string> all = {"Wybrano plik lokalny test.skt.",
                                          "Wczytano plik test.skt.",
                                          "Wypelniono okno zawartością: test.skt."};
    const struct {
        int level;
        std::vector<std::string> started, missing;
    } cases[] = {
        {0, {}, {}},
        {1, {}, {"Brak pliku na wskazanej ścieżce."}},
        {2, {all[0], all[1]}, {"Brak pliku na wskazanej ścieżce."}},
        {3, all, {"Brak pliku na wskazanej ścieżce."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        SessionHarness h;
        h.journal.SetLevel(c.level);
        ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(1, 3))));
        EXPECT_EQ(h.Journalled(), c.started);

        SessionHarness missing;
        missing.journal.SetLevel(c.level);
        EXPECT_FALSE(missing.StartAnonymously(missing.folder.File("brak.skt")));
        EXPECT_EQ(missing.Journalled(), c.missing);
    }
}

TEST(TestSessionStartTest, MissingOrUnreadableFileStartsNothing) {
    SessionHarness h;
    EXPECT_FALSE(h.StartAnonymously(h.folder.File("brak.skt")));
    EXPECT_FALSE(h.StartAnonymously(h.folder.Path()));  // a folder is no test file
    EXPECT_EQ(h.Journalled(), (std::vector<std::string>{"Brak pliku na wskazanej ścieżce.",
                                                        "Brak pliku na wskazanej ścieżce."}));
    EXPECT_TRUE(h.messages.shown.empty());

    const std::string damaged = h.folder.File("zly.skt");
    testing_files::WriteFileBytes(damaged, Bytes{'P', 'A', 'C', 'K', 0, 0});
    EXPECT_FALSE(h.StartAnonymously(damaged));
    EXPECT_EQ(h.messages.shown.size(), 1u);  // the reader's box
    EXPECT_FALSE(h.panel.panel);
    EXPECT_EQ(h.session.Mode(), StartMode::None);
    h.session.MarkAnswer(1);
    h.session.FinishTest();
    EXPECT_TRUE(h.summary.shown.empty());
}

TEST(TestSessionStartTest, UnreadableTestDroppedOnARunningOneLeavesItAsItWas) {
    SessionHarness h;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(2, 3, 5))));
    h.MarkAnswerAt(1);
    h.session.SelectQuestion(2);
    h.MarkAnswerAt(2);
    h.session.TickMinute();
    const std::string statusLine = h.panel.statusLine;
    const std::string testPath = h.session.TestPath();
    ASSERT_TRUE(h.panel.gradeButton);

    const std::string damaged = h.folder.File("zly.skt");
    testing_files::WriteFileBytes(damaged, Bytes{'P', 'A', 'C', 'K', 0, 0});
    h.messages.whileShown = [&h] { h.session.TickMinute(); };  // the minute passes in the box
    EXPECT_FALSE(h.StartAnonymously(damaged));
    h.messages.whileShown = nullptr;

    EXPECT_EQ(h.messages.shown.size(), 1u);  // the reader's box
    EXPECT_EQ(h.session.Mode(), StartMode::TestFileAnonymously);
    EXPECT_EQ(h.session.TestPath(), testPath);
    EXPECT_EQ(h.session.Document().testName, "Ptaki Polski");
    EXPECT_TRUE(h.session.HasChosenAnswer(1));
    EXPECT_TRUE(h.session.HasChosenAnswer(2));
    EXPECT_TRUE(h.session.IsRunning());
    EXPECT_EQ(h.session.CurrentQuestion(), 2);
    EXPECT_EQ(h.session.ElapsedMinutes(), 2);
    EXPECT_TRUE(h.timer.running);
    EXPECT_TRUE(h.panel.panel);
    EXPECT_TRUE(h.panel.gradeButton);
    EXPECT_EQ(h.panel.questionText, "Pytanie 2");
    EXPECT_EQ(h.panel.statusLine, statusLine);

    for (int minute = 3; minute <= 5; ++minute) {
        h.session.TickMinute();
    }
    ASSERT_EQ(h.summary.shown.size(), 1u);  // the limit grades the test the pupil worked on
    EXPECT_TRUE(h.session.EndedByTimer());
    EXPECT_EQ(h.session.CorrectCount(), 0);
    EXPECT_EQ(h.session.Document().questionCount, 2);
}

TEST(TestSessionStartTest, MissingTestDroppedOnARunningOneKeepsItsLocalCopy) {
    SessionHarness h;
    h.settings.al = false;
    ASSERT_TRUE(h.StartAnonymously("/" + h.WriteTest(OneAnswerTest(2, 3))));  // a share path
    const std::string copy = h.session.LocalCopyPath();
    ASSERT_FALSE(copy.empty());
    EXPECT_FALSE(h.StartAnonymously(h.folder.File("brak.skt")));
    EXPECT_EQ(h.session.LocalCopyPath(), copy);
    ASSERT_TRUE(h.session.LeaveTest());
    EXPECT_FALSE(fs::exists(copy));
}

TEST(TestSessionMarking, OneAnswerReplacesTheMarkAndCannotBeTakenBack) {
    SessionHarness h;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(2, 5))));
    h.session.MarkAnswer(2);
    h.session.MarkAnswer(5);
    EXPECT_EQ(h.panel.buttons,
              (std::array<L, 5>{L::Plain, L::Plain, L::Plain, L::Plain, L::Marked}));
    EXPECT_EQ(h.panel.rows[1], (std::vector<L>{L::Plain, L::Plain, L::Plain, L::Plain, L::Marked}));
    h.session.MarkAnswer(5);
    EXPECT_EQ(h.panel.buttons[4], L::Marked);
    // The order "54321": slot 5 shows answer 1.
    const Question& question = h.session.Document().At(1);
    EXPECT_TRUE(question.answers[0].isChosen);
    for (std::size_t k = 1; k < 5; ++k) {
        EXPECT_FALSE(question.answers[k].isChosen) << k;
    }
    EXPECT_TRUE(h.session.HasChosenAnswer(1));
    EXPECT_FALSE(h.session.HasChosenAnswer(2));
    EXPECT_EQ(h.panel.rows[2], std::vector<L>(5, L::Plain));
}

TEST(TestSessionMarking, SeveralAnswersToggleAndTheGradeButtonFollows) {
    SessionHarness h;
    TestDocument test = OneAnswerTest(1, 4);
    test.testType = 1;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(test)));
    EXPECT_TRUE(h.panel.severalAnswersStrip);
    h.session.MarkAnswer(1);
    h.session.MarkAnswer(3);
    EXPECT_EQ(h.panel.rows[1], (std::vector<L>{L::Marked, L::Plain, L::Marked, L::Plain}));
    EXPECT_TRUE(h.panel.gradeButton);
    h.session.MarkAnswer(1);
    h.session.MarkAnswer(3);
    EXPECT_EQ(h.panel.rows[1], std::vector<L>(4, L::Plain));
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{}));
    EXPECT_FALSE(h.panel.gradeButton);
    EXPECT_FALSE(h.session.HasChosenAnswer(1));
}

TEST(TestSessionMarking, GradeButtonAppearsOnlyWhenTheLastQuestionGetsAMark) {
    for (const std::vector<int>& order : {std::vector<int>{3, 1, 2}, {1, 2, 3}, {2, 3, 1}}) {
        SessionHarness h;
        ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(3, 3))));
        for (std::size_t i = 0; i < order.size(); ++i) {
            h.session.SelectQuestion(order[i]);
            EXPECT_FALSE(h.panel.gradeButton) << "before question " << order[i];
            h.session.MarkAnswer(2);
            EXPECT_EQ(h.panel.gradeButton, i + 1 == order.size()) << "after question " << order[i];
        }
        EXPECT_TRUE(h.session.EveryQuestionAnswered());
    }
}

TEST(TestSessionMarking, QuestionListFollowsTheCurrentQuestion) {
    SessionHarness h;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(4, 3))));
    h.session.MarkAnswer(1);
    h.session.SelectQuestion(3);
    EXPECT_EQ(h.panel.highlighted, (std::map<int, bool>{{1, false}, {3, true}}));
    EXPECT_EQ(h.panel.questionText, "Pytanie 3");
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{}));
    h.session.SelectQuestion(1);
    EXPECT_EQ(h.panel.buttons[0], L::Marked);
    for (int outside : {0, 5, -1}) {
        h.session.SelectQuestion(outside);
        EXPECT_EQ(h.session.CurrentQuestion(), 1);
    }
    h.session.MarkAnswer(4);  // a three-answer question has no slot 4
    EXPECT_EQ(h.panel.buttons[0], L::Marked);
}

TEST(TestSessionHints, HintPanelOpensClosesAndStaysAfterGrading) {
    SessionHarness h;
    TestDocument test = OneAnswerTest(3, 3);
    test.At(1).hint = "Pomyśl o Afryce.";
    test.At(3).hint = "Zimą odlatuje.";
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(test)));
    EXPECT_TRUE(h.panel.hintButton);
    h.session.ToggleHint();
    EXPECT_TRUE(h.panel.hintPanel);
    EXPECT_EQ(h.panel.hintText, "Pomyśl o Afryce.");
    h.session.ToggleHint();
    EXPECT_FALSE(h.panel.hintPanel);
    h.session.ToggleHint();
    h.session.MarkAnswer(1);
    EXPECT_FALSE(h.panel.hintPanel);
    h.session.ToggleHint();
    h.session.SelectQuestion(2);
    EXPECT_FALSE(h.panel.hintPanel);
    EXPECT_FALSE(h.panel.hintButton);
    h.session.SelectQuestion(3);
    EXPECT_TRUE(h.panel.hintButton);
    h.session.ToggleHint();
    h.session.HideHint();
    EXPECT_FALSE(h.panel.hintPanel);
    h.session.FinishTest();
    h.session.ToggleHint();
    EXPECT_TRUE(h.panel.hintPanel);
    EXPECT_EQ(h.panel.hintText, "Zimą odlatuje.");
}

TEST(TestSessionSideWindows, MembersLoadOnlyWhenTheyChange) {
    SessionHarness h;
    h.settings.al = false;
    TestDocument test = OneAnswerTest(4, 3);
    test.At(1).pictureMember = "SOWA.JPG";
    test.At(2).pictureMember = "SOWA.JPG";
    test.At(2).textMember = "SOWA.TXT";
    test.At(4).textMember = "SOWA.TXT";
    const std::vector<TestMember> members{{"SOWA.JPG", Bytes{1}}, {"SOWA.TXT", Bytes{'o'}}};
    const std::string path = h.WriteTest(test, "test.skt", members);
    ASSERT_TRUE(h.StartAnonymously(path));
    EXPECT_EQ(h.pictureWindow.state, State::Showing);
    EXPECT_EQ(h.textWindow.state, State::Empty);
    h.session.SelectQuestion(2);
    h.session.SelectQuestion(3);
    EXPECT_EQ(h.pictureWindow.state, State::Empty);
    EXPECT_EQ(h.textWindow.state, State::Empty);
    h.session.SelectQuestion(4);
    EXPECT_EQ(h.pictureWindow.loads, (std::vector<std::string>{"SOWA.JPG"}));
    EXPECT_EQ(h.textWindow.loads, (std::vector<std::string>{"SOWA.TXT", "SOWA.TXT"}));
    // A new start forgets what the windows showed.
    ASSERT_TRUE(h.StartAnonymously(path));
    EXPECT_EQ(h.pictureWindow.loads.size(), 2u);
    ASSERT_TRUE(h.session.LeaveTest());
    EXPECT_EQ(h.pictureWindow.state, State::Closed);
    EXPECT_EQ(h.textWindow.state, State::Closed);
}

// Marks file position `k` of each question in turn.
void AnswerByPosition(SessionHarness& h, const std::vector<int>& positions) {
    for (std::size_t q = 0; q < positions.size(); ++q) {
        h.session.SelectQuestion(static_cast<int>(q) + 1);
        h.MarkAnswerAt(positions[q]);
    }
}

TEST(TestSessionGrading, FinalStatesSummaryAndLegend) {
    SessionHarness h;
    // Question q's correct answer is position (q mod 3) + 1: 2, 3, 1.
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(3, 3))));
    AnswerByPosition(h, {2, 1, 1});
    h.clock.Advance(125);
    h.session.FinishTest();

    EXPECT_FALSE(h.session.IsRunning());
    EXPECT_TRUE(h.session.IsFinished());
    EXPECT_EQ(h.session.CorrectCount(), 2);
    EXPECT_FALSE(h.panel.gradeButton);
    EXPECT_TRUE(h.legend.shown);
    // Slots of "312": position 1 in slot 3, position 2 in slot 1, position 3 in slot 2.
    EXPECT_EQ(h.panel.rows[1], (std::vector<L>{L::Marked, L::Plain, L::Plain}));
    EXPECT_EQ(h.panel.rows[2], (std::vector<L>{L::Plain, L::Missed, L::Wrong}));
    EXPECT_EQ(h.panel.rows[3], (std::vector<L>{L::Plain, L::Plain, L::Marked}));
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{L::Plain, L::Plain, L::Marked}));
    h.session.SelectQuestion(2);
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{L::Plain, L::Missed, L::Wrong}));
    ASSERT_EQ(h.summary.shown.size(), 1u);
    EXPECT_EQ(h.summary.shown[0].text,
              "Pytań w teście: 3\rPoprawnych odpowiedzi: 2\rCzas pracy: 2 min 5 s\r"
              "Skuteczność: 67%\r\rReasumując: Nie jest rewelacyjnie.");
    EXPECT_TRUE(h.summary.shown[0].saveOffered);

    // Graded answers stay as they are.
    h.session.MarkAnswer(1);
    EXPECT_EQ(h.panel.buttons, (std::array<L, 5>{L::Plain, L::Missed, L::Wrong}));
    EXPECT_EQ(h.session.CorrectCount(), 2);
    // An anonymous pupil's result is written only when he saves it.
    EXPECT_TRUE(fs::is_empty(h.locations.documentsFolder));
}

// Started at 09:00:00.900 and graded at 09:01:00.200: 59.3 seconds of work, not the 60 between
// the two whole seconds; the start and end times keep their whole seconds.
TEST(TestSessionGrading, WorkingTimeDropsTheMillisecondsOfTheDifference) {
    SessionHarness h;
    const std::string path = h.WriteTest(OneAnswerTest(1, 3));
    h.clock.AdvanceMilliseconds(900);
    ASSERT_TRUE(h.StartAnonymously(path));
    h.clock.AdvanceMilliseconds(59300);
    h.session.FinishTest();
    ASSERT_EQ(h.summary.shown.size(), 1u);
    EXPECT_NE(h.summary.shown[0].text.find("Czas pracy: 0 min 59 s"), std::string::npos)
        << h.summary.shown[0].text;
    EXPECT_EQ(h.session.EndTime() - h.session.StartTime(), 60);
}

// The verdict is measured against the test's own scale when it has one: 2 of 3 right (67%)
// reaches this test's "cel" of 60%.
TEST(TestSessionGrading, VerdictComesFromTheTestsOwnScale) {
    SessionHarness h;
    TestDocument test = OneAnswerTest(3, 3);
    test.gradingSource = GradingSource::Test;
    test.thresholds = {60, 50, 40, 30, 20};
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(test)));
    AnswerByPosition(h, {2, 1, 1});
    h.session.FinishTest();
    ASSERT_EQ(h.summary.shown.size(), 1u);
    EXPECT_TRUE(h.summary.shown[0].text.ends_with("Reasumując: Jesteś rewelacyjny."))
        << h.summary.shown[0].text;
}

TEST(TestSessionGrading, ChoosingOneOfTwoCorrectAnswersScoresNothing) {
    SessionHarness h;
    TestDocument test = OneAnswerTest(2, 4);
    test.testType = 1;
    for (int q = 1; q <= 2; ++q) {
        test.At(q).correctFlags = "1010";
        for (std::size_t k = 0; k < 4; ++k) {
            test.At(q).answers[k].isCorrect = k == 0 || k == 2;
        }
    }
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(test)));
    h.MarkAnswerAt(1);
    h.session.SelectQuestion(2);
    h.MarkAnswerAt(1);
    h.MarkAnswerAt(3);
    h.session.FinishTest();
    EXPECT_EQ(h.session.CorrectCount(), 1);
}

TEST(TestSessionGrading, SettingsDecideTheGradeButtonAndTheLegend) {
    const struct { bool woc, opl; } cases[] = {{false, false}, {true, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.woc) + std::to_string(c.opl));
        SessionHarness h;
        h.settings.woc = c.woc;
        h.settings.opl = c.opl;
        ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(1, 3))));
        h.session.MarkAnswer(1);
        h.session.FinishTest();
        EXPECT_EQ(h.panel.gradeButton, c.woc);
        EXPECT_EQ(h.legend.shown, c.opl);
        h.clock.Advance(30);
        h.session.FinishTest();  // with woc the button can be clicked again
        ASSERT_EQ(h.summary.shown.size(), 2u);
        EXPECT_NE(h.summary.shown[1].text.find("Czas pracy: 0 min 30 s"), std::string::npos);
    }
}

TEST(TestSessionGrading, AnonymousPupilSavesTheResultWhereHeChooses) {
    SessionHarness h;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(2, 3))));
    const std::string early = h.folder.File("za_wczesnie.sko");
    EXPECT_FALSE(h.session.SaveResult(early));
    EXPECT_FALSE(fs::exists(early));
    AnswerByPosition(h, {2, 2});
    h.session.FinishTest();

    const std::string path = h.folder.File("moj_wynik.sko");
    ASSERT_TRUE(h.session.SaveResult(path));
    const Result<ResultRecord> read = ReadResult(path);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read->surname, kAnonymousSurname);
    EXPECT_EQ(read->firstName, "");
    EXPECT_EQ(read->testName, "Ptaki Polski");
    EXPECT_FALSE(read->endedByTimeLimit);
    EXPECT_EQ(read->questions,
              (std::vector<ResultQuestion>{{"01000", "01000"}, {"01000", "00100"}}));
}

// A students list of one class with its results folder.
StudentsList OneClass(const std::string& resultFolder) {
    StudentsList list;
    list.classCount = 1;
    list.classes.resize(1);
    ClassRecord& record = list.classes[0];
    record.className = "3a";
    record.resultFolder = resultFolder;
    record.classTime = "0";
    record.pupilCount = 2;
    record.pupils[0] = {"Ola", "Nowak"};
    record.pupils[1] = {"Jan", "Kowalski"};
    return list;
}

CurrentChoice NamedChoice(const std::string& path,
                          StartMode mode = StartMode::NamedPupilWithTestFile) {
    CurrentChoice choice;
    choice.surname = "Kowalski";
    choice.firstName = "Jan";
    choice.classIndex = 0;
    choice.pupilIndex = 1;
    choice.testPath = path;
    choice.mode = mode;
    return choice;
}

TEST(TestSessionNamedPupil, StatusLineInBothNameOrders) {
    for (bool firstNameFirst : {false, true}) {
        SessionHarness h;
        h.settings.fn = firstNameFirst;
        const StudentsList students = OneClass("");
        ASSERT_TRUE(h.session.StartTest(NamedChoice(h.WriteTest(OneAnswerTest(1, 3))), &students));
        EXPECT_EQ(h.panel.statusLine,
                  std::string(firstNameFirst ? "Jan Kowalski" : "Kowalski Jan") +
                      " rozwiązuje test \"Ptaki Polski\".  Autor testu: Łucja Gęślą");
    }
}

TEST(TestSessionNamedPupil, ResultGoesToTheClassFolderOrTheDocumentsFolder) {
    const struct {
        std::string classFolder;  // below the scratch folder; empty for none
        bool windowsSeparator;
        std::string expectedFolder;
    } cases[] = {
        {"wyniki", false, "wyniki"},
        {"wyniki", true, "wyniki"},  // a list made on Windows
        {"", false, "dokumenty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedFolder + (c.windowsSeparator ? " \\" : ""));
        SessionHarness h;
        fs::create_directory(h.folder.File("wyniki"));
        const std::string classFolder =
            c.classFolder.empty()
                ? ""
                : h.folder.Path() + (c.windowsSeparator ? "\\" : "/") + c.classFolder;
        const StudentsList students = OneClass(classFolder);
        ASSERT_TRUE(h.session.StartTest(
            NamedChoice(h.WriteTest(OneAnswerTest(2, 3)), StartMode::PupilAndTestFromLists),
            &students));
        const std::string expected =
            h.folder.File(c.expectedFolder) + "/Ptaki Polski_Kowalski_Jan.sko";
        EXPECT_EQ(h.session.ResultPath(), expected);
        AnswerByPosition(h, {2, 1});
        h.session.FinishTest();
        EXPECT_FALSE(h.summary.shown.at(0).saveOffered);
        const Result<ResultRecord> read = ReadResult(expected);
        ASSERT_TRUE(read.ok()) << read.error().message;
        EXPECT_EQ(read->surname, "Kowalski");
        EXPECT_EQ(read->firstName, "Jan");
        EXPECT_EQ(read->questions,
                  (std::vector<ResultQuestion>{{"01000", "01000"}, {"10000", "00100"}}));
        EXPECT_FALSE(read->endedByTimeLimit);
        EXPECT_TRUE(h.messages.shown.empty());
    }
}

TEST(TestSessionNamedPupil, SlashInTheTitleOrTheNamesStaysInTheResultFolder) {
    SessionHarness h;
    const std::string results = h.folder.File("wyniki");
    fs::create_directory(results);
    fs::create_directory(results + "/Klasa 3");
    const StudentsList students = OneClass(results);
    TestDocument test = OneAnswerTest(1, 3);
    test.testName = "Klasa 3/../../ptaki";
    CurrentChoice choice = NamedChoice(h.WriteTest(test));
    choice.surname = "O/Brien";
    ASSERT_TRUE(h.session.StartTest(choice, &students));
    h.session.MarkAnswer(1);
    h.session.FinishTest();

    const std::string expected = results + "/Klasa 3_.._.._ptaki_O_Brien_Jan.sko";
    EXPECT_EQ(h.session.ResultPath(), expected);
    const Result<ResultRecord> read = ReadResult(expected);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read->testName, "Klasa 3/../../ptaki");
    EXPECT_EQ(read->surname, "O/Brien");
    EXPECT_TRUE(fs::is_empty(results + "/Klasa 3"));
    EXPECT_EQ(std::distance(fs::directory_iterator(results), fs::directory_iterator()), 2);
}

TEST(TestSessionNamedPupil, ResultFileNameReplacesEverySeparatorAndZeroByte) {
    using namespace std::string_literals;
    EXPECT_EQ(ResultFileName("a/b\\c"s, "x\0y"s, "z"), "a_b_c_x_y_z.sko");
    EXPECT_EQ(ResultFileName("Test: ąę?*", "Żółć", "Ela"), "Test: ąę?*_Żółć_Ela.sko");
    EXPECT_EQ(ResultFilePath("/wyniki/", "T", "S", "F"), "/wyniki/T_S_F.sko");
    EXPECT_EQ(ResultFilePath("/wyniki", "T", "S", "F"), "/wyniki/T_S_F.sko");
}

TEST(TestSessionNamedPupil, EveryGradingWithTheButtonKeptTriesToWriteAgain) {
    SessionHarness h;
    h.settings.woc = true;
    const StudentsList students = OneClass("");
    ASSERT_TRUE(h.session.StartTest(NamedChoice(h.WriteTest(OneAnswerTest(1, 3))), &students));
    h.MarkAnswerAt(1);
    h.session.FinishTest();
    const Result<ResultRecord> first = ReadResult(h.session.ResultPath());
    ASSERT_TRUE(first.ok());
    // The second grading finds the file there and keeps it.
    fs::remove(h.session.ResultPath());
    h.session.FinishTest();
    EXPECT_TRUE(ReadResult(h.session.ResultPath()).ok());
    EXPECT_EQ(h.summary.shown.size(), 2u);
}

TEST(TestSessionLeaving, QuestionOnlyForAnUnfinishedTestWithTheSettingOn) {
    const struct {
        bool al;
        bool finished;
        MessageBoxResult answer;
        bool asked, leaves;
    } cases[] = {
        {true, false, MessageBoxResult::Yes, true, true},
        {true, false, MessageBoxResult::No, true, false},
        {true, false, MessageBoxResult::Cancel, true, false},
        {true, true, MessageBoxResult::No, false, true},
        {false, false, MessageBoxResult::No, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.al) + std::to_string(c.finished) +
                     std::to_string(static_cast<int>(c.answer)));
        SessionHarness h;
        h.settings.al = c.al;
        h.messages.answer = c.answer;
        const StudentsList students = OneClass("");
        ASSERT_TRUE(
            h.session.StartTest(NamedChoice(h.WriteTest(OneAnswerTest(1, 3, 10))), &students));
        if (c.finished) {
            h.session.FinishTest();
            fs::remove(h.session.ResultPath());
        }
        EXPECT_EQ(h.session.LeaveTest(), c.leaves);
        EXPECT_FALSE(h.legend.shown);
        ASSERT_EQ(h.messages.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(h.messages.shown[0].kind, MessageKind::YesNoCancel);
            EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Question);
            EXPECT_EQ(h.messages.shown[0].text, kLeaveQuestion);
        }
        EXPECT_EQ(h.panel.panel, !c.leaves);
        EXPECT_EQ(h.timer.running, !c.leaves && !c.finished);
        EXPECT_EQ(h.session.Mode() == StartMode::None, c.leaves);
        EXPECT_EQ(h.panel.statusLine.empty(), c.leaves);
        // A test that is left leaves no result.
        EXPECT_TRUE(fs::is_empty(h.locations.documentsFolder));
    }
}

TEST(TestSessionLeaving, NothingHappensAfterTheTestWasLeft) {
    SessionHarness h;
    h.settings.al = false;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(1, 3, 5))));
    for (int minute = 0; minute < 3; ++minute) {
        h.session.TickMinute();
    }
    h.sounds.played.clear();
    ASSERT_TRUE(h.session.LeaveTest());
    for (int minute = 0; minute < 5; ++minute) {
        h.session.TickMinute();
    }
    h.session.MarkAnswer(1);
    h.session.FinishTest();
    EXPECT_TRUE(h.sounds.played.empty());
    EXPECT_TRUE(h.summary.shown.empty());
    EXPECT_FALSE(h.session.HasChosenAnswer(1));
}

TEST(TestSessionTime, TimedTestEndsByItselfWithItsSounds) {
    SessionHarness h;
    const StudentsList students = OneClass("");
    ASSERT_TRUE(h.session.StartTest(NamedChoice(h.WriteTest(OneAnswerTest(2, 3, 5))), &students));
    EXPECT_TRUE(h.timer.running);
    EXPECT_EQ(h.timer.interval, 60000);
    EXPECT_TRUE(h.panel.gauge);
    EXPECT_EQ(h.panel.gaugeMaximum, 5);
    EXPECT_EQ(h.panel.gaugePosition, 0);
    EXPECT_EQ(h.panel.gaugeHint, "Czas pracy: 0 min\rPozostało: 5 min");
    h.MarkAnswerAt(2);

    const std::vector<std::vector<Sound>> soundsAfter = {
        {},
        {},
        {Sound::LastMinutes},
        {Sound::LastMinutes, Sound::LastMinutes},
        {Sound::LastMinutes, Sound::LastMinutes, Sound::LastMinutes},
    };
    for (int minute = 1; minute <= 4; ++minute) {
        h.clock.Advance(60);
        h.session.TickMinute();
        EXPECT_EQ(h.sounds.played, soundsAfter[static_cast<std::size_t>(minute)]) << minute;
        EXPECT_EQ(h.panel.gaugePosition, minute);
        EXPECT_EQ(h.panel.gaugeHint, "Czas pracy: " + std::to_string(minute) +
                                         " min\rPozostało: " + std::to_string(5 - minute) + " min");
        EXPECT_TRUE(h.summary.shown.empty());
    }
    h.clock.Advance(60);
    h.session.TickMinute();
    EXPECT_EQ(h.sounds.played.back(), Sound::TimeUp);
    EXPECT_EQ(h.sounds.played.size(), 4u);
    EXPECT_FALSE(h.timer.running);
    EXPECT_FALSE(h.panel.gauge);
    EXPECT_EQ(h.panel.gaugePosition, 0);
    EXPECT_TRUE(h.session.IsFinished());
    EXPECT_TRUE(h.session.EndedByTimer());
    ASSERT_EQ(h.summary.shown.size(), 1u);
    EXPECT_EQ(h.summary.shown[0].text,
              "Pytań w teście: 2\rPoprawnych odpowiedzi: 1\rCzas pracy: 5 min 0 s\r"
              "Skuteczność: 50%\r\rReasumując: Nie jest rewelacyjnie.");
    const Result<ResultRecord> read = ReadResult(h.session.ResultPath());
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_TRUE(read->endedByTimeLimit);
    EXPECT_EQ(read->timeLimit, 5);
    EXPECT_EQ(read->questions,
              (std::vector<ResultQuestion>{{"01000", "01000"}, {"00000", "00100"}}));
}

TEST(TestSessionTime, WithoutTheSettingThePupilWorksOnAfterTheLimit) {
    SessionHarness h;
    h.settings.wz = false;
    const StudentsList students = OneClass("");
    ASSERT_TRUE(h.session.StartTest(NamedChoice(h.WriteTest(OneAnswerTest(1, 3, 5))), &students));
    for (int minute = 1; minute <= 5; ++minute) {
        h.session.TickMinute();
    }
    EXPECT_EQ(h.sounds.played, (std::vector<Sound>{Sound::LastMinutes, Sound::LastMinutes,
                                                   Sound::LastMinutes, Sound::TimeUp}));
    EXPECT_FALSE(h.timer.running);
    EXPECT_FALSE(h.panel.gauge);
    EXPECT_TRUE(h.summary.shown.empty());
    EXPECT_TRUE(h.session.IsRunning());
    h.session.TickMinute();
    EXPECT_EQ(h.sounds.played.size(), 4u);
    h.MarkAnswerAt(1);
    EXPECT_TRUE(h.panel.gradeButton);
    h.session.FinishTest();
    EXPECT_FALSE(h.session.EndedByTimer());
    const Result<ResultRecord> read = ReadResult(h.session.ResultPath());
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_FALSE(read->endedByTimeLimit);
}

TEST(TestSessionTime, TestWithoutALimitHasNoGaugeAndNeverEnds) {
    SessionHarness h;
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(1, 3, 5))));
    ASSERT_TRUE(h.panel.gauge);
    // A new test without a limit stops the timer of the one before.
    ASSERT_TRUE(h.StartAnonymously(h.WriteTest(OneAnswerTest(1, 3, 0), "bez_limitu.skt")));
    EXPECT_FALSE(h.panel.gauge);
    EXPECT_FALSE(h.timer.running);
    for (int minute = 0; minute < 100; ++minute) {
        h.session.TickMinute();
    }
    EXPECT_EQ(h.session.ElapsedMinutes(), 0);
    EXPECT_TRUE(h.sounds.played.empty());
    EXPECT_TRUE(h.summary.shown.empty());
}

TEST(TestSessionNetworkCopy, TestOnASharePathIsCopiedAndTheCopyDeletedOnLeaving) {
    for (int method : {kCopyReplacing, kCopyBlocks, kCopyStream, kCopyVerified}) {
        SCOPED_TRACE(method);
        SessionHarness h;
        h.settings.trc = method;
        h.settings.al = false;
        const std::string source = h.WriteTest(OneAnswerTest(2, 3));
        const Bytes original = testing_files::ReadFileBytes(source);
        ASSERT_TRUE(h.StartAnonymously("/" + source));  // "//tmp/...": two slashes
        const std::string copy = h.locations.tempFolder + "/test.skt";
        EXPECT_EQ(h.session.LocalCopyPath(), copy);
        EXPECT_EQ(h.session.TestPath(), copy);
        EXPECT_EQ(h.session.Archive().FileName(), copy);
        EXPECT_EQ(testing_files::ReadFileBytes(copy), original);
        EXPECT_EQ(h.Journalled(), (std::vector<std::string>{
                                      "Przekopiowano plik test.skt.", "Wczytano plik test.skt.",
                                      "Wypelniono okno zawartością: test.skt."}));
        ASSERT_TRUE(h.session.LeaveTest());
        EXPECT_FALSE(fs::exists(copy));
        EXPECT_FALSE(h.session.Archive().IsOpen());
        EXPECT_EQ(testing_files::ReadFileBytes(source), original);
    }
}

TEST(TestSessionNetworkCopy, LocalTestIsNeverDeletedAndAFailedCopyStartsNothing) {
    SessionHarness h;
    h.settings.al = false;
    const std::string local = h.WriteTest(OneAnswerTest(1, 3));
    ASSERT_TRUE(h.StartAnonymously(local));
    ASSERT_TRUE(h.session.LeaveTest());
    EXPECT_TRUE(fs::exists(local));

    fs::remove(h.locations.tempFolder);
    EXPECT_FALSE(h.StartAnonymously("/" + local));
    EXPECT_EQ(h.Journalled().back(),
              "Wystąpiły problemy z przekopiowaniem pliku test.skt. Kod " + std::to_string(ENOENT));
    EXPECT_TRUE(h.session.LocalCopyPath().empty());
    EXPECT_FALSE(h.panel.panel);
}

TEST(TestSessionNetworkCopy, EarlierCopyStaysWhenANewTestIsDroppedOnTheRunningOne) {
    SessionHarness h;
    h.settings.al = false;
    const std::string first = h.WriteTest(OneAnswerTest(1, 3), "pierwszy.skt");
    const std::string second = h.WriteTest(OneAnswerTest(1, 3), "drugi.skt");
    ASSERT_TRUE(h.StartAnonymously("/" + first));
    ASSERT_TRUE(h.StartAnonymously(second));
    EXPECT_TRUE(h.session.LocalCopyPath().empty());
    ASSERT_TRUE(h.session.LeaveTest());
    EXPECT_TRUE(fs::exists(h.locations.tempFolder + "/pierwszy.skt"));
}

}  // namespace
}  // namespace oplix
