#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace oplix {

// What the summary of a graded test is made of.
struct SummaryFigures {
    int questionCount = 0;
    int correctCount = 0;
    std::int64_t workingMilliseconds = 0;  // end time - start time
    std::array<int, 5> thresholds{};       // cel, bdb, db, dst, dp in per cent
};

// The sentence of the first threshold the effectiveness reaches, in the order cel .. dp, or
// the failing one when it reaches none; the thresholds need not fall.
std::string_view VerdictSentence(int percent, const std::array<int, 5>& thresholds);

// Five lines broken by "\r", with an empty line before the verdict: the question count, the
// correct count, the working time in whole minutes and seconds, the effectiveness and the
// verdict. A test without questions shows 0% and the failing verdict.
std::string BuildSummaryText(const SummaryFigures& figures);

}  // namespace oplix
