// A pupil starts oplix-test with a test file, answers every question with the mouse, grades
// the test, saves the result through the save dialog and leaves; the saved file is then read
// with oplix-tool show.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "test_files.h"
#include "tool_runner.h"
#include "x11_session.h"

namespace oplix::e2e {
namespace {

using nlohmann::json;
using testing_files::ScratchFolder;

// The main window in window mode 0 is centred in the 1024 x 768 work area.
constexpr int kPanelX = (1024 - 790) / 2;
constexpr int kPanelY = (768 - 581) / 2;

struct ScreenPoint {
    int x;
    int y;
};

ScreenPoint OnPanel(int x, int y) {
    return {kPanelX + x, kPanelY + y};
}

json Show(const std::string& path, const ScratchFolder& folder) {
    const testing_files::ToolRun run = testing_files::RunTool({"show", path}, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return json::parse(std::string(run.out.begin(), run.out.end()), nullptr, false);
}

bool HasExited(pid_t program, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) {
            return true;
        }
        Pause(100);
    }
    return false;
}

class SolveTestFile : public ::testing::Test {
protected:
    void Click(ScreenPoint at) { x11_.Click(at.x, at.y); }

    std::map<std::string, std::string> PupilsDesktop() const {
        return {{"DISPLAY", x11_.Display()},
                {"HOME", home_.Path()},
                {"XDG_DATA_HOME", home_.File("data")},
                {"XDG_CONFIG_HOME", home_.File("config")},
                {"XDG_RUNTIME_DIR", home_.File("runtime")},
                {"QT_QPA_PLATFORM", "xcb"},
                {"LANG", "C.UTF-8"}};
    }

    X11Session x11_;
    ScratchFolder home_;
};

TEST_F(SolveTestFile, AnonymousPupilAnswersGradesAndSavesTheResult) {
    ASSERT_TRUE(x11_.IsRunning());
    mkdir(home_.File("Documents").c_str(), 0755);
    mkdir(home_.File("runtime").c_str(), 0700);
    const std::string test =
        std::string(OPLIX_SHIPPED_DATA_DIR) + "/Zestawy/Przyroda/Uklad_Sloneczny.skt";
    const json description = Show(test, home_);
    const int questions = description["questionCount"];
    ASSERT_LE(questions, 10);  // every row of the list in view

    const pid_t program = Spawn({OPLIX_PROGRAM_PATH, test}, PupilsDesktop());
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
    Click(OnPanel(744 + 9, 8 + 5));                   // end the program
    const bool ended = HasExited(program, 10000);
    if (!ended) {
        kill(program, SIGKILL);
        WaitFor(program);
    }
    EXPECT_TRUE(ended);

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
