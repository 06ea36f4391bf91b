#pragma once

#include <string>

namespace oplix {

// How a test was started.
enum class StartMode {
    None = 0,
    PupilAndTestFromLists = 1,
    TestFromListAnonymously = 2,
    NamedPupilWithTestFile = 3,
    TestFileAnonymously = 4,
};

// A pupil chosen from the students list: the test reader takes the class's time limit and
// scale, the result file the pupil's names and the class's folder.
inline bool IsNamedMode(StartMode mode) {
    return mode == StartMode::PupilAndTestFromLists || mode == StartMode::NamedPupilWithTestFile;
}

// What the list windows and the menu hand to the start of a test. Texts are UTF-8; an empty
// surname means an anonymous pupil.
struct CurrentChoice {
    std::string surname;
    std::string firstName;
    int classIndex = -1;  // into the students list, -1 for none
    int pupilIndex = -1;
    std::string testPath;
    std::string testName;
    StartMode mode = StartMode::None;
};

}  // namespace oplix
