#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/CurrentChoice.h"
#include "formats/TestDocument.h"

namespace oplix {

// The test file as it was when the work began: a work is resumed only on the same file.
struct TestFileIdentity {
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t contentHash = 0;

    bool operator==(const TestFileIdentity&) const = default;
};

// What the pupil had done on one question.
struct QuestionWork {
    std::string order;        // the answers' on-screen order, as drawn
    std::uint8_t chosen = 0;  // bit k: answer k + 1 in file order is marked

    bool operator==(const QuestionWork&) const = default;
};

// A pupil's work on a test, as much as brings it back exactly as he left it. Texts are UTF-8.
struct InterruptedWork {
    std::string testPath;  // as chosen: the share's path for a test on a network share
    TestFileIdentity testFile;
    std::string testName;
    StartMode mode = StartMode::None;
    std::string surname;
    std::string firstName;
    int classIndex = -1;
    int pupilIndex = -1;
    std::string resultFolder;  // the class's, as the students list names it; empty for none
    // What the class gave the test when it was read.
    int timeLimit = 0;
    GradingSource gradingSource = GradingSource::Settings;
    std::array<int, 5> thresholds{};
    int answerCount = 0;
    std::vector<QuestionWork> questions;  // one per question of the test
    int currentQuestion = 0;
    bool hintShown = false;
    int elapsedMinutes = 0;
    std::int64_t startMilliseconds = 0;
    bool finished = false;
    bool endedByTimer = false;
    std::int64_t endMilliseconds = 0;    // of the grading, when finished
    std::int64_t savedMilliseconds = 0;  // the moment this state was kept

    bool operator==(const InterruptedWork&) const = default;
};

}  // namespace oplix
