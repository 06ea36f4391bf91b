// oplix-tool solve TEST.skt --answers LIST [--pupil SURNAME,FIRSTNAME --students LIST.sku
// --class NAME] [--result OUT.sko] [--minutes N]: takes the test through the test session as a
// pupil would, lets N minutes pass, grades it and prints the summary.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramSurroundings.h"
#include "ToolCommands.h"
#include "ToolFiles.h"
#include "app/Locations.h"
#include "app/SettingsFile.h"
#include "formats/StudentsListFile.h"
#include "storage/Random.h"
#include "testing/HeadlessViews.h"
#include "testing/TestSession.h"

namespace oplix::tool {
namespace {

constexpr const char* kCommand = "solve";

// The answers of one question by their file positions (1 .. 5); empty leaves it unanswered.
using AnswerPositions = std::vector<int>;

struct PupilChoice {
    std::string surname;
    std::string firstName;
    std::string studentsList;
    std::string className;
};

struct SolveRequest {
    std::string test;
    std::vector<AnswerPositions> answers;
    std::optional<PupilChoice> pupil;
    std::optional<std::string> result;
    int minutes = 0;
};

int Usage() {
    std::fputs(
        "usage: oplix-tool solve TEST.skt --answers LIST [--pupil SURNAME,FIRSTNAME --students "
        "LIST.sku --class NAME] [--result OUT.sko] [--minutes N]\n",
        stderr);
    return kUsageError;
}

int Fail(const std::string& subject, const std::string& message) {
    return ReportFailure("solve", subject, message);
}

// "2,1,13,-": one item per question, "-" or distinct digits 1-5; "" for a test without
// questions.
std::optional<std::vector<AnswerPositions>> ParseAnswers(std::string_view list) {
    std::vector<AnswerPositions> answers;
    if (list.empty()) {
        return answers;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item = list.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        AnswerPositions positions;
        if (item != "-") {
            if (item.empty()) {
                return std::nullopt;
            }
            for (char c : item) {
                const int position = c - '0';
                if (c < '1' || c > '5' ||
                    std::find(positions.begin(), positions.end(), position) != positions.end()) {
                    return std::nullopt;
                }
                positions.push_back(position);
            }
        }
        answers.push_back(positions);
        if (comma == std::string_view::npos) {
            return answers;
        }
        start = comma + 1;
    }
}

std::optional<int> ParseMinutes(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::optional<SolveRequest> ParseRequest(const std::vector<std::string>& args) {
    std::map<std::string, std::string> options;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            paths.push_back(arg);
            continue;
        }
        static const std::vector<std::string> kKnown = {"--answers", "--pupil",  "--students",
                                                        "--class",   "--result", "--minutes"};
        if (std::find(kKnown.begin(), kKnown.end(), arg) == kKnown.end() || i + 1 == args.size() ||
            !options.emplace(arg, args[i + 1]).second) {
            return std::nullopt;
        }
        ++i;
    }
    if (paths.size() != 1 || !options.contains("--answers")) {
        return std::nullopt;
    }
    SolveRequest request;
    request.test = paths[0];
    std::optional<std::vector<AnswerPositions>> answers = ParseAnswers(options["--answers"]);
    if (!answers) {
        return std::nullopt;
    }
    request.answers = *answers;
    const int pupilOptions = static_cast<int>(
        options.count("--pupil") + options.count("--students") + options.count("--class"));
    if (pupilOptions == 3) {
        const std::string& names = options["--pupil"];
        const std::size_t comma = names.find(',');
        if (comma == std::string::npos || comma == 0 || comma + 1 == names.size()) {
            return std::nullopt;
        }
        request.pupil = PupilChoice{names.substr(0, comma), names.substr(comma + 1),
                                    options["--students"], options["--class"]};
    } else if (pupilOptions != 0) {
        return std::nullopt;
    }
    if (options.contains("--result")) {
        request.result = options["--result"];
    }
    if (options.contains("--minutes")) {
        const std::optional<int> minutes = ParseMinutes(options["--minutes"]);
        if (!minutes) {
            return std::nullopt;
        }
        request.minutes = *minutes;
    }
    return request;
}

// A clock that starts at the real time and moves only when a minute is let pass.
class SteppingClock : public Clock {
public:
    std::time_t Now() const override { return now_; }
    void Advance(std::time_t seconds) { now_ += seconds; }

private:
    std::time_t now_ = std::time(nullptr);
};

class ManualTimer : public MinuteTimer {
public:
    void Start(int) override { running = true; }
    void Stop() override { running = false; }
    bool running = false;
};

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// The result may have gone to the documents folder instead, under a name of its own.
void ReportResultWritten(const std::string& path) {
    std::fprintf(stderr, "oplix-tool %s: result written to %s\n", kCommand, path.c_str());
}

std::string ForTheTerminal(std::string text) {
    for (char& c : text) {
        if (c == '\r') {
            c = '\n';
        }
    }
    return text + "\n";
}

// Everything the session reaches, with the screen, the sounds and the timer left out.
class Solver {
public:
    explicit Solver(const SolveRequest& request) : request_(request) {
        ResetSettingsToDefaults(settings_);
        locations_ = ComputeLocations(CurrentExecutablePath(), ProcessEnvironment());
        locations_.tempFolder = surroundings_.ScratchFile("Temp");
        std::error_code ignored;
        std::filesystem::create_directory(locations_.tempFolder, ignored);
    }

    int Run();

private:
    int ChoosePupil(CurrentChoice& choice);
    int CheckAnswersFit() const;
    void Answer();
    void LetMinutesPass();
    int Refused(const std::string& subject, const std::string& message) const;

    const SolveRequest& request_;
    ProgramSurroundings surroundings_;
    Settings settings_;
    Locations locations_;
    SteppingClock clock_;
    StudentsList students_;
    HeadlessPanel panel_;
    HeadlessSideView textWindow_;
    HeadlessSideView pictureWindow_;
    HeadlessLegend legend_;
    HeadlessSummary summary_;
    HeadlessSounds sounds_;
    ManualTimer timer_;
    TestSession session_{{surroundings_.journal(), surroundings_.messages(), clock_,
                          ProcessRandom(), settings_, locations_},
                         {panel_, textWindow_, pictureWindow_, legend_, summary_, sounds_, timer_}};
};

int Solver::Refused(const std::string& subject, const std::string& message) const {
    Fail(subject, message);
    surroundings_.PrintWhatTheProgramSaid(kCommand);
    return kFailure;
}

int Solver::ChoosePupil(CurrentChoice& choice) {
    const PupilChoice& pupil = *request_.pupil;
    if (!ReadStudentsList(pupil.studentsList, students_, choice, surroundings_.journal(), clock_)) {
        return Refused(pupil.studentsList, "the program would not open this students list");
    }
    for (std::size_t c = 0; c < students_.classes.size(); ++c) {
        const ClassRecord& record = students_.classes[c];
        if (record.className != pupil.className) {
            continue;
        }
        for (int p = 0; p < record.pupilCount && p < kMaxPupils; ++p) {
            const Pupil& listed = record.pupils[static_cast<std::size_t>(p)];
            if (listed.surname == pupil.surname && listed.firstName == pupil.firstName) {
                choice.surname = listed.surname;
                choice.firstName = listed.firstName;
                choice.classIndex = static_cast<int>(c);
                choice.pupilIndex = p;
                return kSuccess;
            }
        }
        return Fail(pupil.studentsList, "class " + pupil.className + " has no pupil " +
                                            pupil.surname + " " + pupil.firstName);
    }
    return Fail(pupil.studentsList, "no class " + pupil.className);
}

int Solver::CheckAnswersFit() const {
    const TestDocument& test = session_.Document();
    if (static_cast<int>(request_.answers.size()) != test.questionCount) {
        return Fail(request_.test, "the test has " + std::to_string(test.questionCount) +
                                       " questions, the list answers " +
                                       std::to_string(request_.answers.size()));
    }
    for (std::size_t q = 0; q < request_.answers.size(); ++q) {
        const std::string question = "question " + std::to_string(q + 1);
        const AnswerPositions& positions = request_.answers[q];
        if (test.testType == kOneAnswerTest && positions.size() > 1) {
            return Fail(request_.test, question + " takes one answer");
        }
        for (int position : positions) {
            if (position > test.answerCount) {
                return Fail(request_.test, question + " has " + std::to_string(test.answerCount) +
                                               " answers, not " + std::to_string(position));
            }
        }
    }
    return kSuccess;
}

// Question by question, each answer clicked where the pupil sees it.
void Solver::Answer() {
    for (std::size_t q = 0; q < request_.answers.size(); ++q) {
        const int number = static_cast<int>(q) + 1;
        session_.SelectQuestion(number);
        for (int position : request_.answers[q]) {
            const Question& question = session_.Document().At(number);
            session_.MarkAnswer(
                question.answers[static_cast<std::size_t>(position - 1)].displaySlot);
        }
    }
}

void Solver::LetMinutesPass() {
    for (int minute = 0; minute < request_.minutes && !session_.IsFinished(); ++minute) {
        clock_.Advance(60);
        if (timer_.running) {
            session_.TickMinute();
        }
    }
}

int Solver::Run() {
    if (!surroundings_.Ready()) {
        return Fail("scratch folder", "cannot be made");
    }
    CurrentChoice choice;
    choice.testPath = request_.test;
    choice.mode = StartMode::TestFileAnonymously;
    if (request_.pupil) {
        choice.mode = StartMode::NamedPupilWithTestFile;
        if (const int chosen = ChoosePupil(choice); chosen != kSuccess) {
            return chosen;
        }
        if (request_.result) {
            // The program's own write goes to the scratch folder; the pupil's copy to OUT.
            students_.classes[static_cast<std::size_t>(choice.classIndex)].resultFolder =
                surroundings_.ScratchFile("");
        }
    }
    if (!session_.StartTest(choice, &students_)) {
        return Refused(request_.test, "the program would not start this test");
    }
    if (const int fits = CheckAnswersFit(); fits != kSuccess) {
        return fits;
    }
    const std::string destination = request_.result.value_or(session_.ResultPath());
    if (!destination.empty() && Exists(destination)) {
        return Fail(destination, "exists; the program keeps it and writes no new result");
    }
    Answer();
    LetMinutesPass();
    if (!session_.IsFinished()) {
        session_.FinishTest();
    }
    if (request_.result) {
        session_.SaveResult(*request_.result);
    }
    const std::string summary = ForTheTerminal(summary_.text);
    std::fwrite(summary.data(), 1, summary.size(), stdout);
    if (std::fflush(stdout) != 0) {
        return Fail("standard output", "cannot write the summary");
    }
    const std::string& written = session_.WrittenResultPath();
    if (!destination.empty() && written.empty()) {
        return Refused(destination, "the result was not written there");
    }
    if (!written.empty()) {
        ReportResultWritten(written);
    }
    return kSuccess;
}

}  // namespace

int RunSolve(const std::vector<std::string>& args) {
    const std::optional<SolveRequest> request = ParseRequest(args);
    if (!request) {
        return Usage();
    }
    Solver solver(*request);
    return solver.Run();
}

}  // namespace oplix::tool
