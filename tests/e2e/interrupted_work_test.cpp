// A pupil answers two questions of three, the program is killed, and the next start brings his
// work back: he answers the last question, grades and saves, and the result holds all three.
// A pupil who answers "Nie" finds the menu and no work kept.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "formats/TestFileWriter.h"
#include "pupil_desktop.h"
#include "testing/InterruptedWorkCoding.h"

namespace oplix::e2e {
namespace {

using nlohmann::json;

// The box of a question is centred on the screen; its "Tak" and "Nie" buttons.
constexpr ScreenPoint kYes = {(1024 - 350) / 2 + 63 + 44, (768 - 150) / 2 + 116 + 13};
constexpr ScreenPoint kNo = {(1024 - 350) / 2 + 156 + 44, (768 - 150) / 2 + 116 + 13};

constexpr std::string_view kFoundLine = "Znaleziono przerwaną pracę nad testem Trzy pytania.skt.";

TestDocument ThreeQuestions() {
    TestDocument test;
    test.answerCount = 4;
    test.questionCount = 3;
    test.testName = "Trzy pytania";
    test.author = "Łucja Gęślą";
    for (int q = 1; q <= 3; ++q) {
        Question& question = test.At(q);
        question.text = "Pytanie " + std::to_string(q);
        question.correctFlags = "1000";
        for (int k = 0; k < 4; ++k) {
            question.answers[static_cast<std::size_t>(k)].text =
                "Odpowiedź " + std::to_string(k + 1);
        }
    }
    return test;
}

class InterruptedWorkOnTheDesktop : public PupilDesktopTest {
protected:
    void SetUp() override {
        PupilDesktopTest::SetUp();
        ASSERT_TRUE(WriteTest40(test_, ThreeQuestions(), {}).ok());
    }

    std::string RecordPath() const { return home_.File("data/Pelmar/Oplix/Test/Przerwany.dat"); }

    // Starts the program on the test, closes the first run's settings box, and answers
    // questions 1 and 2 with slots 1 and 2; then kills the program.
    InterruptedWork AnswerTwoAndCrash() {
        const pid_t program = Spawn({OPLIX_PROGRAM_PATH, test_}, PupilsEnvironment());
        EXPECT_TRUE(x11_.WaitForWindow("Oplix - Test 4.0", 15000));
        Pause(1500);
        Click({(1024 - 350) / 2 + 190 + 44, (768 - 150) / 2 + 116 + 13});
        Click(OnPanel(280 + 17, 313 + 17));  // question 1, slot 1
        Click(OnPanel(40 + 14, 258 + 26 + 13));
        Click(OnPanel(280 + 17, 353 + 17));  // question 2, slot 2
        Pause(500);
        kill(program, SIGKILL);
        WaitFor(program);
        const Bytes record = testing_files::ReadFileBytes(RecordPath());
        Result<InterruptedWork> work = DecodeInterruptedWork(record);
        EXPECT_TRUE(work.ok());
        return work.ok() ? *work : InterruptedWork{};
    }

    // Starts the program again and waits until it asks about the interrupted work.
    pid_t StartAgain() {
        const pid_t program = Spawn({OPLIX_PROGRAM_PATH}, PupilsEnvironment());
        EXPECT_TRUE(x11_.WaitForWindow("Oplix - Test 4.0", 15000));
        EXPECT_TRUE(WaitForJournalLine(kFoundLine, 15000));
        Pause(700);
        return program;
    }

    std::string test_ = home_.File("Trzy pytania.skt");
};

// The answer, in file order, that the order shows in `slot`.
std::size_t AnswerInSlot(const QuestionWork& question, int slot) {
    return question.order.find(static_cast<char>('0' + slot));
}

TEST_F(InterruptedWorkOnTheDesktop, KilledProgramBringsTheWorkBack) {
    const InterruptedWork before = AnswerTwoAndCrash();
    ASSERT_EQ(before.questions.size(), 3u);
    EXPECT_EQ(before.questions[0].chosen, 1u << AnswerInSlot(before.questions[0], 1));
    EXPECT_EQ(before.questions[1].chosen, 1u << AnswerInSlot(before.questions[1], 2));

    const pid_t program = StartAgain();
    Click(kYes);
    Pause(700);
    Click(OnPanel(40 + 14, 258 + 52 + 13));
    Click(OnPanel(280 + 17, 393 + 17));  // question 3, slot 3
    Click(OnPanel(515 + 51, 505 + 18));  // grade: shown only with every question answered
    Pause(700);
    const ScreenPoint summary = OnPanel(375, 222);
    Click({summary.x + 205 + 38, summary.y + 182 + 13});
    ASSERT_TRUE(x11_.WaitForWindow("Zapis wyniku testu", 5000));
    Pause(500);
    const std::string saved = home_.File("Documents/wznowiony.sko");
    x11_.Type(saved);
    x11_.Key("Return");
    Pause(1000);
    Click({summary.x + 283 + 8, summary.y + 6 + 8});
    Click(OnPanel(640 + 45, 513 + 13));  // leave the test
    EndProgram(program);

    struct stat info {};
    EXPECT_NE(stat(RecordPath().c_str(), &info), 0) << "the record goes with the test";
    const json result = Show(saved, home_);
    ASSERT_EQ(result["questions"].size(), 3u);
    const int slots[] = {1, 2, 3};
    for (std::size_t q = 0; q < 3; ++q) {
        std::string expected = "00000";
        expected[AnswerInSlot(before.questions[q], slots[q])] = '1';
        EXPECT_EQ(result["questions"][q]["chosenFlags"], expected) << "question " << q + 1;
    }
}

TEST_F(InterruptedWorkOnTheDesktop, NoFindsTheMenuAndNothingKept) {
    AnswerTwoAndCrash();
    const pid_t program = StartAgain();
    Click(kNo);
    Pause(500);
    struct stat info {};
    EXPECT_NE(stat(RecordPath().c_str(), &info), 0);
    EndProgram(program);
    // Nothing was opened after the answer: the menu was left on the panel.
    const std::vector<std::string> journal = JournalLines();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "Porzucono przerwaną pracę nad testem Trzy pytania.skt.");
}

}  // namespace
}  // namespace oplix::e2e
