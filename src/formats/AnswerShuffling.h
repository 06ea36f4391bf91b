#pragma once

#include <span>
#include <string>
#include <string_view>

#include "formats/TestDocument.h"
#include "storage/Random.h"

namespace oplix {

// An order string has one digit per answer: digit k (from 1) is the display slot of answer k in
// file order, so "231" shows answer 1 in slot 2, answer 2 in slot 3 and answer 3 in slot 1.
// Orders are not computed but drawn from a fixed table per answer count: 3 answers 6 entries,
// 4 answers 28 entries, any other count 102 entries of five digits.
std::span<const std::string_view> OrderTable(int answerCount);

// A uniform draw from the table of `answerCount`.
std::string DrawOrder(int answerCount, RandomSource& random);

// Stores the order as the question's permutation and gives answers 1 .. answerCount its digits
// as display slots; the answers beyond keep -1. `order` must have answerCount digits.
void ApplyOrder(std::string_view order, int answerCount, Question& question);

// DrawOrder and ApplyOrder, done for every question as it is read.
void ShuffleAnswers(int answerCount, RandomSource& random, Question& question);

inline constexpr int kNoAnswer = 0;

// The answer (1 .. answerCount, file order) shown at display slot `slot`: the first one with
// that slot, or kNoAnswer when none has it.
int AnswerAtSlot(const Question& question, int answerCount, int slot);

}  // namespace oplix
