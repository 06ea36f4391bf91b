#pragma once

#include <string>
#include <string_view>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "formats/StudentsList.h"
#include "formats/TestDocument.h"
#include "storage/Random.h"
#include "storage/VfsPAK.h"

namespace oplix {

// A test file (.skt) is a PACK archive holding its description and the pictures and texts its
// questions name. Version 35 describes the test in scrambled text lines; version 40 in an XML
// document whose fields may be base64-encoded. When both descriptions are present the test is
// read as version 35.
inline constexpr std::string_view kTest35Member = "Serr0.txp";
inline constexpr std::string_view kTest40Member = "Serr0.xml";

enum class TestReadOutcome {
    Loaded,   // the test may start
    Failed,   // journalled, and the damaged-file box was shown
    Refused,  // journalled, and the pupil was told why; the test does not fit the program
};

// What reading a test takes from its surroundings.
struct TestReadContext {
    Journal& journal;
    MessageBoxPresenter& messages;
    const Settings& settings;  // the default thresholds sk
    RandomSource& random;      // draws the answers' on-screen order
    StartMode mode = StartMode::None;
    // The list the pupil was chosen from and his class in it; a class index outside the list
    // means no class.
    const StudentsList* students = nullptr;
    int classIndex = -1;
};

// Reads the test into `document`, which is reset first, so after a failure it is partly
// filled. `archive` is the program's one test archive: it is reopened on `path` and stays open,
// since question pictures and texts are fetched from it while the test runs.
TestReadOutcome ReadTest(const std::string& path, TestDocument& document, TVfsPAK& archive,
                         const TestReadContext& context);

}  // namespace oplix
