// A pupil starts tests from the lists with the mouse: named from both lists, or named from the
// students list with a test file, where the result goes by itself into the class's results
// folder; and anonymously from the tests list, where nothing is written unless he saves it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/Journal.h"
#include "app/SettingsFile.h"
#include "formats/StudentsListFile.h"
#include "journal_lines.h"
#include "pupil_desktop.h"

namespace oplix::e2e {
namespace {

using nlohmann::json;

// The middle of row `row` of a tree whose viewport stands at `viewport` on the screen.
ScreenPoint TreeRow(ScreenPoint viewport, int row) {
    return {viewport.x + 60, viewport.y + 5 + 16 * row + 8};
}

// The shipped tests list: the third top-level group holds the solar system test, its second
// entry, once the group is open.
constexpr int kNatureGroupRow = 2;
constexpr int kSolarSystemRow = 4;
const std::string kShippedTests = std::string(OPLIX_SHIPPED_DATA_DIR) + "/Zestawy/Testy.skg";
const std::string kSolarSystem =
    std::string(OPLIX_SHIPPED_DATA_DIR) + "/Zestawy/Przyroda/Uklad_Sloneczny.skt";

std::vector<std::string> FilesBelow(const std::string& folder, const std::string& extension) {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

class ListsEndToEnd : public PupilDesktopTest {
protected:
    void SetUp() override {
        PupilDesktopTest::SetUp();
        mkdir(home_.File("wyniki").c_str(), 0755);
        WriteStudents();
        WriteSettings();
    }

    // Two classes; the second keeps its results in the scratch folder "wyniki".
    void WriteStudents() {
        StudentsList school;
        school.listType = "Szkoła";
        school.classCount = 2;
        const std::vector<std::vector<Pupil>> classes = {
            {{"Zofia", "Adamczyk"}, {"Jan", "Baran"}},
            {{"Anna", "Nowak"}, {"Piotr", "Zieliński"}, {"Ewa", "Wójcik"}}};
        for (std::size_t c = 0; c < classes.size(); ++c) {
            ClassRecord& record = school.classes.emplace_back();
            record.className = c == 0 ? "Klasa 4a" : "Klasa 5b";
            record.classTime = "0";
            record.resultFolder = c == 0 ? home_.File("inne") : home_.File("wyniki");
            record.pupilCount = static_cast<int>(classes[c].size());
            std::copy(classes[c].begin(), classes[c].end(), record.pupils.begin());
        }
        ASSERT_TRUE(WriteStudentsList40(home_.File("Szkola.sku"), school, false, false));
    }

    // The program reads $XDG_DATA_HOME/Pelmar/Oplix/Test/Test.ini.
    void WriteSettings() {
        std::string folder = home_.File("data");
        mkdir(folder.c_str(), 0755);
        for (const char* part : {"/Pelmar", "/Oplix", "/Test"}) {
            folder += part;
            mkdir(folder.c_str(), 0755);
        }
        Settings settings;
        ResetSettingsToDefaults(settings);
        settings.sct = kShippedTests;
        settings.scl = home_.File("Szkola.sku");
        settings.opl = false;  // no legend over the panel after grading
        Journal journal;
        ASSERT_TRUE(WriteWholeSettingsFile(folder + "/Test.ini", settings, journal));
    }

    void DoubleClick(ScreenPoint at) {
        x11_.Tool({"mousemove", "--sync", std::to_string(at.x), std::to_string(at.y)});
        Pause(80);
        x11_.Tool({"click", "--repeat", "2", "--delay", "90", "1"});
        Pause(400);
    }

    pid_t StartProgram() {
        const pid_t program = Spawn({OPLIX_PROGRAM_PATH}, PupilsEnvironment());
        EXPECT_TRUE(x11_.WaitForWindow("Oplix - Test 4.0", 15000));
        Pause(1500);
        return program;
    }

    // The tests menu, then its entry on row `entry` (0: both lists, 1: the tests list).
    void ChooseFromTestsMenu(int entry) {
        Click(OnPanel(17 + 60, 137 + 7));
        Click(OnPanel(9 + 15 + 60, 130 + 36 + 15 * entry + 7));
    }

    // Opens the nature group and picks the solar system test in the tree at `viewport`.
    void ChooseSolarSystem(ScreenPoint viewport) {
        DoubleClick(TreeRow(viewport, kNatureGroupRow));
        Click(TreeRow(viewport, kSolarSystemRow));
    }

    // Answers every question with its first slot and grades; the summary then shows.
    void SolveAndGrade(int questions) {
        for (int question = 1; question <= questions; ++question) {
            Click(OnPanel(40 + 14, 258 + 26 * (question - 1) + 13));
            Click(OnPanel(280 + 17, 313 + 17));
        }
        Click(OnPanel(515 + 51, 505 + 18));
        Pause(700);
    }

    void CloseSummaryLeaveAndEnd(pid_t program) {
        const ScreenPoint summary = OnPanel(375, 222);
        Click({summary.x + 283 + 8, summary.y + 6 + 8});
        Click(OnPanel(640 + 45, 513 + 13));
        EndProgram(program);
    }

    int QuestionCount() {
        const json description = Show(kSolarSystem, home_);
        const int questions = description["questionCount"];
        EXPECT_LE(questions, 10);  // every row of the question list in view
        return questions;
    }

    // True when the journal tells that the solar system test was read for solving.
    bool SolarSystemWasLoaded() const {
        for (const std::string& message :
             testing_files::JournalMessages(home_.File("data/Pelmar/Oplix/Test/Dziennik.txt"))) {
            if (message == "Wczytano plik Uklad_Sloneczny.skt.") {
                return true;
            }
        }
        return false;
    }
};

TEST_F(ListsEndToEnd, NamedPupilFromBothListsGetsTheResultInTheClassFolder) {
    const json description = Show(kSolarSystem, home_);
    const int questions = description["questionCount"];
    ASSERT_LE(questions, 10);
    const pid_t program = StartProgram();
    ChooseFromTestsMenu(0);
    ASSERT_TRUE(x11_.WaitForWindow("Wybór ucznia i testu", 5000));
    Pause(300);
    const ScreenPoint window = OnPanel(173, 61);
    // The second class, picked from the opened chooser: its list opens with the chosen class
    // over the chooser, 13 pixels a row.
    Click({window.x + 44 + 100, window.y + 54 + 10});
    Click({window.x + 44 + 60, window.y + 54 + 13 + 6});
    Click({window.x + 35 + 8 + 40, window.y + 86 + 13 * 1 + 6});  // Zieliński Piotr
    ChooseSolarSystem({window.x + 301, window.y + 47});
    Click({window.x + 456 + 44, window.y + 383 + 12});  // accept
    Pause(800);
    SolveAndGrade(questions);
    CloseSummaryLeaveAndEnd(program);
    EXPECT_TRUE(SolarSystemWasLoaded());

    const std::vector<std::string> results = FilesBelow(home_.File("wyniki"), ".sko");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NE(results.front().find("Zieli"), std::string::npos) << results.front();
    const json result = Show(results.front(), home_);
    ASSERT_EQ(result["kind"], "result");
    EXPECT_EQ(result["surname"], "Zieliński");
    EXPECT_EQ(result["firstName"], "Piotr");
    EXPECT_EQ(result["testName"], description["testName"]);
    EXPECT_EQ(result["questions"].size(), static_cast<std::size_t>(questions));
    EXPECT_TRUE(FilesBelow(home_.File("Documents"), ".sko").empty());
}

TEST_F(ListsEndToEnd, AnonymousPupilFromTheTestsListLeavesNoFile) {
    const int questions = QuestionCount();
    const pid_t program = StartProgram();
    ChooseFromTestsMenu(1);
    ASSERT_TRUE(x11_.WaitForWindow("Wybór testu", 5000));
    Pause(300);
    const ScreenPoint window = OnPanel(280, 61);
    ChooseSolarSystem({window.x + 33, window.y + 47});
    Click({window.x + 181 + 44, window.y + 384 + 12});  // accept
    Pause(800);
    SolveAndGrade(questions);
    CloseSummaryLeaveAndEnd(program);

    EXPECT_TRUE(SolarSystemWasLoaded());
    EXPECT_TRUE(FilesBelow(home_.Path(), ".sko").empty());
}

TEST_F(ListsEndToEnd, ListedPupilWithATestFileGetsTheResultInTheClassFolder) {
    const int questions = QuestionCount();
    const pid_t program = StartProgram();
    ChooseFromTestsMenu(2);
    ASSERT_TRUE(x11_.WaitForWindow("Wybór ucznia", 5000));
    Pause(300);
    const ScreenPoint window = OnPanel(280, 61);
    Click({window.x + 44 + 100, window.y + 54 + 10});  // the class chooser, then the second class
    Click({window.x + 44 + 60, window.y + 54 + 13 + 6});
    Click({window.x + 35 + 40, window.y + 86 + 13 * 1 + 6});  // Zieliński Piotr
    Click({window.x + 181 + 44, window.y + 385 + 12});        // accept
    ASSERT_TRUE(x11_.WaitForWindow("Wskaż plik testu", 5000));
    Pause(500);
    x11_.Type(kSolarSystem);
    x11_.Key("Return");
    Pause(1000);
    SolveAndGrade(questions);
    CloseSummaryLeaveAndEnd(program);
    EXPECT_TRUE(SolarSystemWasLoaded());

    const std::vector<std::string> results = FilesBelow(home_.File("wyniki"), ".sko");
    ASSERT_EQ(results.size(), 1u);
    const json result = Show(results.front(), home_);
    EXPECT_EQ(result["surname"], "Zieliński");
    EXPECT_EQ(result["firstName"], "Piotr");
    EXPECT_EQ(result["questions"].size(), static_cast<std::size_t>(questions));
    EXPECT_TRUE(FilesBelow(home_.File("Documents"), ".sko").empty());
}

// Killed after the first answer and started again, the named pupil's test comes back and its
// result still goes by itself into his class's results folder.
TEST_F(ListsEndToEnd, ResumedTestOfAListedPupilGetsTheResultInTheClassFolder) {
    const int questions = QuestionCount();
    const pid_t interrupted = StartProgram();
    ChooseFromTestsMenu(2);
    ASSERT_TRUE(x11_.WaitForWindow("Wybór ucznia", 5000));
    Pause(300);
    const ScreenPoint window = OnPanel(280, 61);
    Click({window.x + 44 + 100, window.y + 54 + 10});
    Click({window.x + 44 + 60, window.y + 54 + 13 + 6});
    Click({window.x + 35 + 40, window.y + 86 + 13 * 1 + 6});  // Zieliński Piotr
    Click({window.x + 181 + 44, window.y + 385 + 12});
    ASSERT_TRUE(x11_.WaitForWindow("Wskaż plik testu", 5000));
    Pause(500);
    x11_.Type(kSolarSystem);
    x11_.Key("Return");
    Pause(1000);
    Click(OnPanel(280 + 17, 313 + 17));
    Pause(500);
    kill(interrupted, SIGKILL);
    WaitFor(interrupted);

    const pid_t program = Spawn({OPLIX_PROGRAM_PATH}, PupilsEnvironment());
    ASSERT_TRUE(
        WaitForJournalLine("Znaleziono przerwaną pracę nad testem Uklad_Sloneczny.skt.", 15000));
    Pause(700);
    Click({(1024 - 350) / 2 + 63 + 44, (768 - 150) / 2 + 116 + 13});  // "Tak"
    Pause(700);
    SolveAndGrade(questions);
    CloseSummaryLeaveAndEnd(program);

    const std::vector<std::string> results = FilesBelow(home_.File("wyniki"), ".sko");
    ASSERT_EQ(results.size(), 1u);
    const json result = Show(results.front(), home_);
    EXPECT_EQ(result["surname"], "Zieliński");
    EXPECT_EQ(result["firstName"], "Piotr");
    EXPECT_TRUE(FilesBelow(home_.File("Documents"), ".sko").empty());
}

}  // namespace
}  // namespace oplix::e2e
