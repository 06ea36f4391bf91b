// Reading a tests list of 4 000 and of 48 000 entries, and students lists of 100 and 1 000
// classes of 36 pupils: the time of a list grows in proportion to its size (compare the
// per-entry figures, items_per_second, of the two sizes).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/MessageBox.h"
#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "testing/HeadlessViews.h"

namespace {

std::string ScratchPath(const std::string& name) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/oplix-bench-" +
           std::to_string(getpid()) + "-" + name;
}

void ReadsTestsList(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    oplix::TestsList list;
    list.listName = "Zestaw szkolny";
    for (int i = 1; i <= entries; ++i) {
        list.entries.push_back(std::to_string(i) + "*0*0*0*1*0*Sprawdzian numer " +
                               std::to_string(i) + "*\\Testy\\t" + std::to_string(i) + ".skt*");
    }
    const std::string path = ScratchPath("Testy.skg");
    if (!oplix::WriteTestsList40(path, list, true, false)) {
        state.SkipWithError("cannot write the list");
        return;
    }
    const oplix::SystemClock clock;
    oplix::Journal journal(clock);
    oplix::HeadlessMessageBox box;
    for (auto _ : state) {
        oplix::TestsList read;
        if (!oplix::ReadTestsList(path, read, journal, box) ||
            read.entries.size() != list.entries.size()) {
            state.SkipWithError("the list did not read back");
            break;
        }
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * entries);
    unlink(path.c_str());
}
BENCHMARK(ReadsTestsList)->Arg(4000)->Arg(48000)->Unit(benchmark::kMillisecond);

void ReadsStudentsList(benchmark::State& state) {
    const int classes = static_cast<int>(state.range(0));
    oplix::StudentsList school;
    school.listType = "Szkoła";
    school.classCount = classes;
    for (int c = 0; c < classes; ++c) {
        oplix::ClassRecord& record = school.classes.emplace_back();
        record.className = "Klasa " + std::to_string(c);
        record.classTime = "45";
        record.pupilCount = oplix::kMaxPupils;
        for (int p = 0; p < oplix::kMaxPupils; ++p) {
            record.pupils[static_cast<std::size_t>(p)] = {"Imię" + std::to_string(p),
                                                          "Nazwisko" + std::to_string(c)};
        }
    }
    const std::string path = ScratchPath("Szkola.sku");
    if (!oplix::WriteStudentsList40(path, school, true, false)) {
        state.SkipWithError("cannot write the list");
        return;
    }
    const oplix::SystemClock clock;
    oplix::Journal journal(clock);
    for (auto _ : state) {
        oplix::StudentsList read;
        oplix::CurrentChoice choice;
        if (!oplix::ReadStudentsList(path, read, choice, journal, clock) ||
            read.classCount != classes) {
            state.SkipWithError("the list did not read back");
            break;
        }
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * classes);
    unlink(path.c_str());
}
BENCHMARK(ReadsStudentsList)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
