#include "testing/Grading.h"

#include <algorithm>
#include <cstddef>

namespace oplix {
namespace {

bool AnsweredExactly(const Question& question, int answerCount) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(answerCount); ++k) {
        if (question.answers[k].isChosen != question.answers[k].isCorrect) {
            return false;
        }
    }
    return true;
}

}  // namespace

int CountCorrect(const TestDocument& document) {
    const int questionCount = std::clamp(document.questionCount, 0, kMaxQuestions);
    const int answerCount = std::clamp(document.answerCount, 0, kMaxAnswers);
    int correct = 0;
    for (int number = 1; number <= questionCount; ++number) {
        if (AnsweredExactly(document.At(number), answerCount)) {
            ++correct;
        }
    }
    return correct;
}

int CountCorrect(std::span<const ResultQuestion> questions) {
    return static_cast<int>(
        std::count_if(questions.begin(), questions.end(), [](const ResultQuestion& question) {
            return question.chosenFlags == question.correctFlags;
        }));
}

int EffectivenessPercent(int correct, int questions) {
    if (questions <= 0) {
        return 0;
    }
    // Whole-number arithmetic gives the same as rounding the quotient in floating point, and
    // recognises an exact half without a rounding error.
    const long long scaled = 100LL * correct;
    long long percent = scaled / questions;
    const long long twiceRemainder = 2 * (scaled % questions);
    if (twiceRemainder > questions || (twiceRemainder == questions && percent % 2 != 0)) {
        ++percent;
    }
    return static_cast<int>(percent);
}

}  // namespace oplix
