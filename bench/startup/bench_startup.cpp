// Start-up under Xvfb: the program against a bare window of the same size, each a fresh process
// timed from its launch to its first paint; and the first question of the 45-question sample
// test painted after StartTest, against the core reading that test alone.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/Journal.h"
#include "app/Locations.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "formats/TestDocument.h"
#include "formats/TestFileReader.h"
#include "storage/Random.h"
#include "storage/VfsPAK.h"
#include "testing/HeadlessViews.h"
#include "x11_session.h"

namespace {

using oplix::e2e::Spawn;
using oplix::e2e::WaitFor;
using oplix::e2e::X11Session;

const std::string kSampleTest =
    std::string(OPLIX_SHIPPED_DATA_DIR) + "/Zestawy/Matematyka/Powtorka_klasa_4.skt";

// One X server and one home folder with a settings file for the whole run, so that no start
// meets the first run's box.
struct Desktop {
    X11Session x11;
    std::string home;

    Desktop() {
        char folder[] = "/tmp/oplix_startup_XXXXXX";
        home = mkdtemp(folder) != nullptr ? folder : "/tmp";
        const auto environment = [this](std::string_view name) -> std::optional<std::string> {
            if (name == "HOME") {
                return home;
            }
            if (name == "XDG_DATA_HOME") {
                return home + "/data";
            }
            return std::nullopt;
        };
        const oplix::Locations locations = oplix::ComputeLocations("/nowhere/probe", environment);
        oplix::CreateDataFolders(locations);
        oplix::Settings settings;
        oplix::ResetSettingsToDefaults(settings);
        oplix::Journal journal;
        oplix::WriteWholeSettingsFile(locations.settingsFile, settings, journal);
    }
    ~Desktop() { std::system(("rm -rf '" + home + "'").c_str()); }

    // The number the probe prints, or -1.
    long long RunProbe(const std::vector<std::string>& arguments) const {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            return -1;
        }
        std::vector<std::string> command{OPLIX_STARTUP_PROBE_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const pid_t probe = Spawn(command,
                                  {{"DISPLAY", x11.Display()},
                                   {"HOME", home},
                                   {"XDG_DATA_HOME", home + "/data"},
                                   {"QT_QPA_PLATFORM", "xcb"}},
                                  pipeFds[1]);
        close(pipeFds[1]);
        std::string text;
        char buffer[64];
        for (ssize_t count; (count = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(count));
        }
        close(pipeFds[0]);
        const int code = WaitFor(probe);
        return code == 0 && !text.empty() ? std::atoll(text.c_str()) : -1;
    }
};

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

long long NowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// From the launch of a process to its window's first paint.
void TimeStartUp(benchmark::State& state, const char* what) {
    const Desktop& desktop = TheDesktop();
    if (!desktop.x11.IsRunning()) {
        state.SkipWithError("no X server");
        return;
    }
    for (auto _ : state) {
        const long long launched = NowMicroseconds();
        const long long painted = desktop.RunProbe({what});
        if (painted < 0) {
            state.SkipWithError("the probe failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(painted - launched) / 1e6);
    }
}

void ProgramStartsUp(benchmark::State& state) {
    TimeStartUp(state, "program");
}

// Until every window and the session are made, right after the first paint.
void ProgramIsReady(benchmark::State& state) {
    TimeStartUp(state, "ready");
}

void BareWindowStartsUp(benchmark::State& state) {
    TimeStartUp(state, "bare");
}

void FirstQuestionPainted(benchmark::State& state) {
    const Desktop& desktop = TheDesktop();
    for (auto _ : state) {
        const long long microseconds = desktop.RunProbe({"question", kSampleTest});
        if (microseconds < 0) {
            state.SkipWithError("the probe failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(microseconds) / 1e6);
    }
}

void CoreReadsTheTest(benchmark::State& state) {
    oplix::Journal journal;
    oplix::HeadlessMessageBox box;
    oplix::Settings settings;
    oplix::ResetSettingsToDefaults(settings);
    const oplix::TestReadContext context{.journal = journal,
                                         .messages = box,
                                         .settings = settings,
                                         .random = oplix::ProcessRandom(),
                                         .mode = oplix::StartMode::TestFileAnonymously};
    for (auto _ : state) {
        oplix::TestDocument document;
        oplix::TVfsPAK archive;
        if (oplix::ReadTest(kSampleTest, document, archive, context) !=
            oplix::TestReadOutcome::Loaded) {
            state.SkipWithError("the sample test did not load");
            return;
        }
        benchmark::DoNotOptimize(document.questionCount);
    }
}

BENCHMARK(ProgramStartsUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(ProgramIsReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BareWindowStartsUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(FirstQuestionPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(CoreReadsTheTest)->Unit(benchmark::kMillisecond);

}  // namespace
