#pragma once

namespace oplix {

// How the letter of an answer slot looks on its answer button and in the question's row of
// the list. While the test runs only the first two states occur.
enum class LetterState {
    Plain = 0,   // not marked; after grading neither correct nor marked
    Marked = 1,  // marked; after grading correct and marked (green)
    Missed = 2,  // after grading: correct but not marked (yellow)
    Wrong = 3,   // after grading: marked but not correct (red)
};

}  // namespace oplix
