#include "testing/SummaryText.h"

#include <gtest/gtest.h>

#include <string>

namespace oplix {
namespace {

constexpr std::array<int, 5> kDefaultScale = {95, 85, 75, 50, 30};

std::string Summary(int questions, int correct, std::time_t seconds,
                    std::array<int, 5> thresholds = kDefaultScale) {
    return BuildSummaryText({.questionCount = questions,
                             .correctCount = correct,
                             .workingMilliseconds = std::int64_t{seconds} * 1000 + 999,
                             .thresholds = thresholds});
}

TEST(SummaryTextTest, FiveLinesWithAnEmptyOneBeforeTheVerdict) {
    EXPECT_EQ(Summary(10, 7, 12 * 60 + 5),
              "Pytań w teście: 10\rPoprawnych odpowiedzi: 7\rCzas pracy: 12 min 5 s\r"
              "Skuteczność: 70%\r\rReasumując: Nie jest rewelacyjnie.");
}

TEST(SummaryTextTest, EffectivenessWorkingTimeAndVerdict) {
    const struct {
        int questions, correct;
        std::time_t seconds;
        std::string timeLine, effectivenessLine, verdict;
    } cases[] = {
        {20, 19, 0, "0 min 0 s", "95%", "Jesteś rewelacyjny."},
        {20, 18, 59, "0 min 59 s", "90%", "Jesteś bardzo dobry."},
        {8, 1, 60, "1 min 0 s", "12%", "Niestety - oblałeś ten test."},
        {8, 3, 3907, "65 min 7 s", "38%", "Musisz jeszcze popracować nad sobą."},
        {4, 3, 7200, "120 min 0 s", "75%", "To jest przyzwoity wynik."},
        {6, 1, 601, "10 min 1 s", "17%", "Niestety - oblałeś ten test."},
        {2, 1, 30, "0 min 30 s", "50%", "Nie jest rewelacyjnie."},
        {10, 3, 30, "0 min 30 s", "30%", "Musisz jeszcze popracować nad sobą."},
        {10, 2, 30, "0 min 30 s", "20%", "Niestety - oblałeś ten test."},
        // A clock set back during the test gives no negative time.
        {1, 1, -5, "0 min 0 s", "100%", "Jesteś rewelacyjny."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.correct) + " of " + std::to_string(c.questions));
        const std::string text = Summary(c.questions, c.correct, c.seconds);
        EXPECT_NE(text.find("\rCzas pracy: " + c.timeLine + "\r"), std::string::npos) << text;
        EXPECT_NE(text.find("\rSkuteczność: " + c.effectivenessLine + "\r\r"), std::string::npos)
            << text;
        EXPECT_TRUE(text.ends_with("\rReasumując: " + c.verdict)) << text;
    }
}

TEST(SummaryTextTest, FirstThresholdThatHoldsChoosesTheSentenceWhateverTheirOrder) {
    const std::array<int, 5> rising = {90, 95, 10, 99, 0};
    const struct {
        int percent;
        std::string_view verdict;
    } cases[] = {
        {95, "Jesteś rewelacyjny."},                 // 95 >= 90 comes first
        {89, "To jest przyzwoity wynik."},           // fails 90 and 95, holds 10
        {9, "Musisz jeszcze popracować nad sobą."},  // only the last, 0, holds
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VerdictSentence(c.percent, rising), c.verdict) << c.percent;
    }
    EXPECT_EQ(VerdictSentence(-1, rising), "Niestety - oblałeś ten test.");
}

TEST(SummaryTextTest, TestWithoutQuestionsShowsNothingAchieved) {
    // Even a scale that every result reaches gives the failing sentence.
    EXPECT_EQ(Summary(0, 0, 90, {0, 0, 0, 0, 0}),
              "Pytań w teście: 0\rPoprawnych odpowiedzi: 0\rCzas pracy: 1 min 30 s\r"
              "Skuteczność: 0%\r\rReasumując: Niestety - oblałeś ten test.");
}

}  // namespace
}  // namespace oplix
