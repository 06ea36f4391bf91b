// A pupil starts oplix-test with a test file, answers every question with the mouse, grades
// the test, saves the result through the save dialog and leaves; the saved file is then read
// with oplix-tool show.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "pupil_desktop.h"

namespace oplix::e2e {
namespace {

using nlohmann::json;

using SolveTestFile = PupilDesktopTest;

TEST_F(SolveTestFile, AnonymousPupilAnswersGradesAndSavesTheResult) {
    const std::string test =
        std::string(OPLIX_SHIPPED_DATA_DIR) + "/Zestawy/Przyroda/Uklad_Sloneczny.skt";
    const json description = Show(test, home_);
    const int questions = description["questionCount"];
    ASSERT_LE(questions, 10);  // every row of the list in view

    const pid_t program = Spawn({OPLIX_PROGRAM_PATH, test}, PupilsEnvironment());
    ASSERT_TRUE(x11_.WaitForWindow("Oplix - Test 4.0", 15000));
    Pause(1500);
    // A first run tells that it made the settings file: its close button, the box centred.
    Click({(1024 - 350) / 2 + 190 + 44, (768 - 150) / 2 + 116 + 13});

    for (int question = 1; question <= questions; ++question) {
        Click(OnPanel(40 + 14, 258 + 26 * (question - 1) + 13));  // its row in the list
        if (question == 1) {
            Click(OnPanel(280 + 17, 353 + 17));  // slot 2 first: one answer replaces another
        }
        Click(OnPanel(280 + 17, 313 + 17));  // answer slot 1
    }
    Click(OnPanel(515 + 51, 505 + 18));  // grade
    Pause(700);
    const ScreenPoint summary = OnPanel(375, 222);
    Click({summary.x + 205 + 38, summary.y + 182 + 13});  // save
    ASSERT_TRUE(x11_.WaitForWindow("Zapis wyniku testu", 5000));
    Pause(500);
    const std::string saved = home_.File("Documents/wynik_ucznia.sko");
    x11_.Type(saved);
    x11_.Key("Return");
    Pause(1000);
    Click({summary.x + 283 + 8, summary.y + 6 + 8});  // close the summary
    Click(OnPanel(640 + 45, 513 + 13));               // leave the test
    EndProgram(program);

    const json result = Show(saved, home_);
    ASSERT_EQ(result["kind"], "result");
    EXPECT_EQ(result["testName"], description["testName"]);
    ASSERT_EQ(result["questions"].size(), static_cast<std::size_t>(questions));
    for (const json& question : result["questions"]) {
        const std::string chosen = question["chosenFlags"];
        EXPECT_EQ(std::count(chosen.begin(), chosen.end(), '1'), 1) << chosen;
    }
    EXPECT_EQ(result["endedByTimeLimit"], false);
}

}  // namespace
}  // namespace oplix::e2e
