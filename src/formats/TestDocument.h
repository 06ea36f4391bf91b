#pragma once

#include <array>
#include <string>

namespace oplix {

inline constexpr int kMaxQuestions = 45;
inline constexpr int kMaxAnswers = 5;

// The test types, as the files store them: one answer per question, or several.
inline constexpr int kOneAnswerTest = 0;
inline constexpr int kSeveralAnswersTest = 1;

struct Answer {
    std::string text;  // UTF-8
    bool isCorrect = false;
    bool isChosen = false;  // changed only by the test session
    int displaySlot = -1;   // 1 .. answerCount on screen, -1 when not shown
};

struct Question {
    std::string text;
    std::array<Answer, kMaxAnswers> answers;  // in file order
    std::string correctFlags = "0000";        // one '1' or '0' per answer in file order
    std::string textMember;                   // archive member for the text window, or empty
    std::string pictureMember;                // .JPG, .GIF or .BMP member, or empty
    std::string hint;                         // empty: no hint
    std::string permutation;                  // the drawn order string
};

enum class GradingSource {
    Test = 1,      // the test's own thresholds
    Class = 2,     // the chosen class's scale
    Settings = 3,  // the program's defaults
};

// The one test in memory. Questions are numbered 1 .. questionCount: slot N is questions[N - 1].
struct TestDocument {
    int answerCount = 3;
    int testType = kOneAnswerTest;
    int questionCount = 0;
    int timeLimit = 0;  // minutes; below 1 no limit
    std::string testName;
    std::string author;
    std::string date;
    std::string remarks;
    GradingSource gradingSource = GradingSource::Settings;
    std::array<int, 5> thresholds{};  // cel, bdb, db, dst, dp in per cent
    std::array<Question, kMaxQuestions> questions;

    // Empties every slot and the header, as before reading a test.
    void Reset() { *this = TestDocument{}; }

    Question& At(int number) { return questions[static_cast<std::size_t>(number - 1)]; }
    const Question& At(int number) const { return questions[static_cast<std::size_t>(number - 1)]; }
};

}  // namespace oplix
