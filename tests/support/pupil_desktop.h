#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "journal_lines.h"
#include "test_files.h"
#include "tool_runner.h"
#include "x11_session.h"

namespace oplix::e2e {

// The main window in window mode 0 is centred in the 1024 x 768 work area.
inline constexpr int kPanelX = (1024 - 790) / 2;
inline constexpr int kPanelY = (768 - 581) / 2;

struct ScreenPoint {
    int x;
    int y;
};

inline ScreenPoint OnPanel(int x, int y) {
    return {kPanelX + x, kPanelY + y};
}

// A file as oplix-tool show prints it.
inline nlohmann::json Show(const std::string& path, const testing_files::ScratchFolder& folder) {
    const testing_files::ToolRun run = testing_files::RunTool({"show", path}, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return nlohmann::json::parse(std::string(run.out.begin(), run.out.end()), nullptr, false);
}

inline bool HasExited(pid_t program, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) {
            return true;
        }
        Pause(100);
    }
    return false;
}

// A pupil's desktop: the X screen and a scratch home with its documents folder.
class PupilDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x11_.IsRunning());
        mkdir(home_.File("Documents").c_str(), 0755);
        mkdir(home_.File("runtime").c_str(), 0700);
    }

    void Click(ScreenPoint at) const { x11_.Click(at.x, at.y); }

    // The environment the program runs in.
    std::map<std::string, std::string> PupilsEnvironment() const {
        return {{"DISPLAY", x11_.Display()},
                {"HOME", home_.Path()},
                {"XDG_DATA_HOME", home_.File("data")},
                {"XDG_CONFIG_HOME", home_.File("config")},
                {"XDG_RUNTIME_DIR", home_.File("runtime")},
                {"QT_QPA_PLATFORM", "xcb"},
                {"LANG", "C.UTF-8"}};
    }

    // The main window's close area; the program must then end by itself.
    void EndProgram(pid_t program) const {
        Click(OnPanel(744 + 9, 8 + 5));
        const bool ended = HasExited(program, 10000);
        if (!ended) {
            kill(program, SIGKILL);
            WaitFor(program);
        }
        EXPECT_TRUE(ended);
    }

    std::vector<std::string> JournalLines() const {
        return testing_files::JournalMessages(home_.File("data/Pelmar/Oplix/Test/Dziennik.txt"));
    }

    // Waits until the journal's last line is `line`; false when it never was.
    bool WaitForJournalLine(std::string_view line, int milliseconds) const {
        for (int waited = 0; waited < milliseconds; waited += 100) {
            const std::vector<std::string> lines = JournalLines();
            if (!lines.empty() && lines.back() == line) {
                return true;
            }
            Pause(100);
        }
        return false;
    }

    X11Session x11_;
    testing_files::ScratchFolder home_;
};

}  // namespace oplix::e2e
