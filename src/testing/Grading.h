#pragma once

#include <span>

#include "formats/ResultRecord.h"
#include "formats/TestDocument.h"

namespace oplix {

// Grading counts a question as correct only when every answer's chosen flag equals its
// correct flag: choosing one of two correct answers scores nothing.

// Questions 1 .. questionCount of the test, comparing its answerCount answers each.
int CountCorrect(const TestDocument& document);

// Questions of a result: chosen and correct flags must be the same text.
int CountCorrect(std::span<const ResultQuestion> questions);

// 100 * correct / questions taken to the nearest whole number, an exact half going to the even
// neighbour (1 of 8 gives 12, 3 of 8 gives 38); 0 when there are no questions.
int EffectivenessPercent(int correct, int questions);

}  // namespace oplix
