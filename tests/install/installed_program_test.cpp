// The programs as the package installs them, run from the unpacked package: the tool reads
// the shipped lists and every test the tests list names, and the pupil's program, whose
// settings name no list, finds the shipped tests list beside itself and starts a test from it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/Journal.h"
#include "app/SettingsFile.h"
#include "journal_lines.h"
#include "pupil_desktop.h"

namespace oplix::e2e {
namespace {

using nlohmann::json;

const std::string kShipped = OPLIX_INSTALLED_SHARE;

// The test file an entry line of a tests list names (its eighth field), as a path below the
// list's folder; empty for a group.
std::string EntryFile(const std::string& entry) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t star; (star = entry.find('*', start)) != std::string::npos; start = star + 1) {
        fields.push_back(entry.substr(start, star - start));
    }
    std::string file = fields.size() == 8 ? fields[7] : std::string();
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

TEST(InstalledTool, ReadsTheShippedListsAndEveryTestTheListNames) {
    testing_files::ScratchFolder scratch;
    const json students = Show(kShipped + "/Listy/Szkola.sku", scratch);
    ASSERT_EQ(students["kind"], "studentsList");
    EXPECT_FALSE(students["classes"].empty());

    const json tests = Show(kShipped + "/Zestawy/Testy.skg", scratch);
    ASSERT_EQ(tests["kind"], "testsList");
    int named = 0;
    for (const json& entry : tests["entries"]) {
        const std::string file = EntryFile(entry.get<std::string>());
        if (file.empty()) {
            continue;
        }
        ++named;
        SCOPED_TRACE(file);
        const json test = Show(kShipped + "/Zestawy" + file, scratch);
        EXPECT_EQ(test["kind"], "test");
    }
    EXPECT_GT(named, 0) << "the tests list names no test";
}

class InstalledProgram : public PupilDesktopTest {
protected:
    // Settings naming no list, so that the program looks for the shipped ones; no legend and no
    // question on leaving, to keep the clicks few.
    void WriteSettings() {
        std::string folder = home_.File("data");
        for (const char* part : {"", "/Pelmar", "/Oplix", "/Test"}) {
            folder += part;
            mkdir(folder.c_str(), 0755);
        }
        Settings settings;
        ResetSettingsToDefaults(settings);
        settings.opl = false;
        settings.al = false;
        Journal journal;
        ASSERT_TRUE(WriteWholeSettingsFile(folder + "/Test.ini", settings, journal));
    }

    bool JournalTells(const std::string& line) const {
        const std::vector<std::string> messages =
            testing_files::JournalMessages(home_.File("data/Pelmar/Oplix/Test/Dziennik.txt"));
        return std::find(messages.begin(), messages.end(), line) != messages.end();
    }
};

TEST_F(InstalledProgram, StartsATestFromTheShippedTestsList) {
    WriteSettings();
    const pid_t program = Spawn({OPLIX_PROGRAM_PATH}, PupilsEnvironment());
    ASSERT_TRUE(x11_.WaitForWindow("Oplix - Test 4.0", 15000));
    Pause(1500);
    // The tests menu, then its second entry: a test from the tests list, anonymously. Without
    // a tests list the window does not open.
    Click(OnPanel(17 + 60, 137 + 7));
    Click(OnPanel(9 + 15 + 60, 130 + 36 + 15 + 7));
    const bool listShown = x11_.WaitForWindow("Wybór testu", 5000);
    EXPECT_TRUE(listShown) << "the shipped tests list was not found";
    if (listShown) {
        Pause(300);
        // The third group of the tree, opened, holds the solar system test as its second entry.
        const ScreenPoint window = OnPanel(280, 61);
        const ScreenPoint tree{window.x + 33 + 60, window.y + 47 + 5 + 8};
        x11_.Tool({"mousemove", "--sync", std::to_string(tree.x), std::to_string(tree.y + 16 * 2)});
        Pause(80);
        x11_.Tool({"click", "--repeat", "2", "--delay", "90", "1"});
        Pause(400);
        Click({tree.x, tree.y + 16 * 4});
        Click({window.x + 181 + 44, window.y + 384 + 12});  // accept
        Pause(1000);
        EXPECT_TRUE(JournalTells("Wczytano plik Uklad_Sloneczny.skt."));
        Click(OnPanel(640 + 45, 513 + 13));  // leave the test
    }
    EndProgram(program);
}

}  // namespace
}  // namespace oplix::e2e
