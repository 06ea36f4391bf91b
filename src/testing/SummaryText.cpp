#include "testing/SummaryText.h"

#include <algorithm>
#include <cstddef>

#include "testing/Grading.h"

namespace oplix {
namespace {

constexpr std::array<std::string_view, 5> kThresholdSentences = {
    "Jesteś rewelacyjny.",
    "Jesteś bardzo dobry.",
    "To jest przyzwoity wynik.",
    "Nie jest rewelacyjnie.",
    "Musisz jeszcze popracować nad sobą.",
};
constexpr std::string_view kFailedSentence = "Niestety - oblałeś ten test.";

}  // namespace

std::string_view VerdictSentence(int percent, const std::array<int, 5>& thresholds) {
    for (std::size_t i = 0; i < thresholds.size(); ++i) {
        if (percent >= thresholds[i]) {
            return kThresholdSentences[i];
        }
    }
    return kFailedSentence;
}

std::string BuildSummaryText(const SummaryFigures& figures) {
    const int percent = EffectivenessPercent(figures.correctCount, figures.questionCount);
    // With no questions there is nothing to be good at, whatever the thresholds say.
    const std::string_view verdict =
        figures.questionCount > 0 ? VerdictSentence(percent, figures.thresholds) : kFailedSentence;
    // Milliseconds are dropped from the difference, not from each end.
    const std::int64_t seconds = std::max<std::int64_t>(0, figures.workingMilliseconds / 1000);
    return "Pytań w teście: " + std::to_string(figures.questionCount) +
           "\rPoprawnych odpowiedzi: " + std::to_string(figures.correctCount) +
           "\rCzas pracy: " + std::to_string(seconds / 60) + " min " +
           std::to_string(seconds % 60) + " s\rSkuteczność: " + std::to_string(percent) +
           "%\r\rReasumując: " + std::string(verdict);
}

}  // namespace oplix
