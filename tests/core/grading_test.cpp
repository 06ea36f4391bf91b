#include "testing/Grading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace oplix {
namespace {

TEST(GradingTest, EffectivenessRoundsHalvesToTheEvenNeighbour) {
    struct Case {
        int correct;
        int questions;
        int percent;
    };
    const Case cases[] = {
        {1, 8, 12}, {3, 8, 38},    {5, 8, 62},   {7, 8, 88},  {1, 6, 17},  {5, 6, 83},
        {1, 3, 33}, {2, 3, 67},    {1, 40, 2},   {3, 40, 8},  {1, 200, 0}, {3, 200, 2},
        {0, 45, 0}, {45, 45, 100}, {22, 45, 49}, {1, 1, 100}, {0, 0, 0},   {3, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EffectivenessPercent(c.correct, c.questions), c.percent)
            << c.correct << " of " << c.questions;
    }
}

// A test whose first answers are marked from `chosen` and right from `correct`, per question.
TestDocument Marked(int answerCount,
                    const std::vector<std::pair<std::string, std::string>>& flags) {
    TestDocument test;
    test.answerCount = answerCount;
    test.questionCount = static_cast<int>(flags.size());
    for (int n = 1; n <= test.questionCount; ++n) {
        const auto& [chosen, correct] = flags[static_cast<std::size_t>(n - 1)];
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            test.At(n).answers[k].isChosen = chosen[k] == '1';
            test.At(n).answers[k].isCorrect = correct[k] == '1';
        }
    }
    return test;
}

TEST(GradingTest, OnlyAnExactMatchOfTheQuestionsAnswersCounts) {
    EXPECT_EQ(CountCorrect(Marked(4, {{"1000", "1000"},     // right
                                      {"1000", "1001"},     // one of two: nothing
                                      {"1001", "1000"},     // one too many
                                      {"0000", "0000"},     // nothing to choose, nothing chosen
                                      {"0000", "0100"}})),  // nothing chosen
              2);
    // Answers beyond the test's answer count do not take part.
    EXPECT_EQ(CountCorrect(Marked(3, {{"10010", "10000"}, {"01001", "01000"}})), 2);
    EXPECT_EQ(CountCorrect(Marked(5, {{"10010", "10000"}, {"01001", "01001"}})), 1);
    // Slots after the question count are not graded.
    TestDocument test = Marked(3, {{"100", "100"}, {"010", "010"}});
    test.questionCount = 1;
    EXPECT_EQ(CountCorrect(test), 1);
}

TEST(GradingTest, ResultFlagsCountWhenChosenEqualsCorrect) {
    const std::vector<ResultQuestion> questions{
        {"10000", "10000"}, {"11000", "10000"}, {"00000", "00100"}, {"01100", "01100"}};
    EXPECT_EQ(CountCorrect(questions), 2);
    EXPECT_EQ(CountCorrect(std::vector<ResultQuestion>{}), 0);
}

}  // namespace
}  // namespace oplix
