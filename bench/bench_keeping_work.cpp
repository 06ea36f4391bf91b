// One mark on a 45-question test with its work kept on disk, against one mark without: the
// keeping may add at most 2 ms a mark (compare the median_us counters), and the memory in use
// must not grow with the marks (rss_growth_kb, from the 100th mark to the last).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "formats/TestFileWriter.h"
#include "storage/Random.h"
#include "testing/HeadlessViews.h"
#include "testing/SessionStore.h"
#include "testing/TestSession.h"

namespace {

class NoTimer : public oplix::MinuteTimer {
public:
    void Start(int) override {}
    void Stop() override {}
};

oplix::TestDocument FortyFiveQuestions() {
    oplix::TestDocument test;
    test.answerCount = 5;
    test.testType = 1;
    test.questionCount = oplix::kMaxQuestions;
    test.testName = "Sprawdzian końcowy";
    test.author = "Łucja Gęślą";
    for (int q = 1; q <= test.questionCount; ++q) {
        oplix::Question& question = test.At(q);
        question.text = "Pytanie numer " + std::to_string(q) + ", dość długie, jak w szkole.";
        question.correctFlags = "10100";
        for (int k = 0; k < 5; ++k) {
            question.answers[static_cast<std::size_t>(k)].text =
                "Odpowiedź " + std::to_string(k + 1) + " na pytanie " + std::to_string(q);
        }
    }
    return test;
}

long ResidentKilobytes() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

// The data folder where the program keeps the record: on the disk a pupil's account is on.
std::string ScratchDataFolder() {
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/.local/share/oplix-bench-" +
           std::to_string(getpid());
}

void MarkAnswer(benchmark::State& state, bool keeping) {
    const std::string folder = ScratchDataFolder();
    std::filesystem::create_directories(folder);
    const std::string test = folder + "/Sprawdzian.skt";
    if (!oplix::WriteTest40(test, FortyFiveQuestions(), {})) {
        state.SkipWithError("cannot write the test");
        return;
    }
    const oplix::SystemClock clock;
    oplix::Journal journal(clock);
    oplix::HeadlessMessageBox box;
    oplix::Settings settings;
    oplix::ResetSettingsToDefaults(settings);
    oplix::Locations locations;
    locations.tempFolder = folder;
    locations.documentsFolder = folder;
    oplix::HeadlessPanel panel;
    oplix::HeadlessSideView text;
    oplix::HeadlessSideView picture;
    oplix::HeadlessLegend legend;
    oplix::HeadlessSummary summary;
    oplix::HeadlessSounds sounds;
    NoTimer timer;
    oplix::TestSession session({journal, box, clock, oplix::ProcessRandom(), settings, locations},
                               {panel, text, picture, legend, summary, sounds, timer});
    oplix::SessionStore store(folder + "/Przerwany.dat");
    session.KeepWorkIn(keeping ? &store : nullptr);
    oplix::CurrentChoice choice;
    choice.testPath = test;
    choice.mode = oplix::StartMode::TestFileAnonymously;
    if (!session.StartTest(choice)) {
        state.SkipWithError("the test did not start");
        return;
    }
    std::vector<double> microseconds;
    microseconds.reserve(static_cast<std::size_t>(state.max_iterations));
    long residentAt100 = 0;
    int mark = 0;
    for (auto _ : state) {
        session.SelectQuestion(mark % oplix::kMaxQuestions + 1);
        const auto begin = std::chrono::steady_clock::now();
        session.MarkAnswer(mark % 5 + 1);
        const auto end = std::chrono::steady_clock::now();
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
        if (++mark == 100) {
            residentAt100 = ResidentKilobytes();
        }
    }
    std::nth_element(microseconds.begin(), microseconds.begin() + microseconds.size() / 2,
                     microseconds.end());
    state.counters["median_us"] = microseconds[microseconds.size() / 2];
    if (mark > 100) {
        state.counters["rss_growth_kb"] = static_cast<double>(ResidentKilobytes() - residentAt100);
    }
    state.counters["marks"] = mark;
    std::filesystem::remove_all(folder);
}

void MarkWithoutKeeping(benchmark::State& state) {
    MarkAnswer(state, false);
}

void MarkWithKeeping(benchmark::State& state) {
    MarkAnswer(state, true);
}

BENCHMARK(MarkWithoutKeeping)->Unit(benchmark::kMicrosecond)->Iterations(3000);
BENCHMARK(MarkWithKeeping)->Unit(benchmark::kMicrosecond)->Iterations(3000);

}  // namespace
