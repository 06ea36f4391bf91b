// oplix-tool show FILE: reads a test, tests list, students list or result file as the program
// would and prints it as JSON on standard output.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "FileNames.h"
#include "ProgramSurroundings.h"
#include "ToolCommands.h"
#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "formats/ResultFileReader.h"
#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "storage/UPak.h"
#include "testing/Grading.h"

namespace oplix::tool {
namespace {

constexpr const char* kCommand = "show";

// Fields keep the order in which they are written here, the order of the files themselves.
using json = nlohmann::ordered_json;

int Usage() {
    std::fputs("usage: oplix-tool show FILE.skt|FILE.skg|FILE.sku|FILE.sko\n", stderr);
    return kUsageError;
}

int Print(const json& document) {
    // Replacing a broken sequence keeps the output UTF-8 whatever a reader let through.
    const std::string text = document.dump(2, ' ', false, json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0) {
        std::fputs("oplix-tool show: cannot write the output\n", stderr);
        return kFailure;
    }
    return kSuccess;
}

int Refused(const std::string& path, const ProgramSurroundings& surroundings) {
    std::fprintf(stderr, "oplix-tool show: %s: the program would not open this file\n",
                 path.c_str());
    surroundings.PrintWhatTheProgramSaid(kCommand);
    return kFailure;
}

json QuestionJson(int number, const Question& question, int answerCount) {
    json answers = json::array();
    for (int k = 0; k < answerCount; ++k) {
        const Answer& answer = question.answers[static_cast<std::size_t>(k)];
        answers.push_back(
            {{"text", answer.text}, {"correct", answer.isCorrect}, {"slot", answer.displaySlot}});
    }
    return {{"number", number},
            {"text", question.text},
            {"answers", answers},
            {"correctFlags", question.correctFlags},
            {"textMember", question.textMember},
            {"pictureMember", question.pictureMember},
            {"hint", question.hint}};
}

json TestJson(const TestDocument& document, const TVfsPAK& archive) {
    json questions = json::array();
    for (int number = 1; number <= document.questionCount; ++number) {
        questions.push_back(QuestionJson(number, document.At(number), document.answerCount));
    }
    std::vector<std::string> members;
    ListMembers(members, archive);
    return {{"kind", "test"},
            {"version", MemberExists(kTest35Member, archive) ? 35 : 40},
            {"answerCount", document.answerCount},
            {"testType", document.testType},
            {"questionCount", document.questionCount},
            {"timeLimit", document.timeLimit},
            {"testName", document.testName},
            {"author", document.author},
            {"date", document.date},
            {"remarks", document.remarks},
            {"gradingSource", static_cast<int>(document.gradingSource)},
            {"thresholds", document.thresholds},
            {"members", members},
            {"questions", questions}};
}

int ShowTest(const std::string& path) {
    ProgramSurroundings surroundings;
    TestDocument document;
    TVfsPAK archive;
    if (surroundings.ReadTestFile(path, document, archive) != TestReadOutcome::Loaded) {
        return Refused(path, surroundings);
    }
    return Print(TestJson(document, archive));
}

int ShowTestsList(const std::string& path) {
    ProgramSurroundings surroundings;
    TestsList list;
    if (!ReadTestsList(path, list, surroundings.journal(), surroundings.messages())) {
        return Refused(path, surroundings);
    }
    return Print({{"kind", "testsList"},
                  {"listName", list.listName},
                  {"listDate", list.listDate},
                  {"listRemarks", list.listRemarks},
                  {"entries", list.entries}});
}

json ClassJson(const ClassRecord& record) {
    json pupils = json::array();
    for (int p = 0; p < record.pupilCount && p < kMaxPupils; ++p) {
        const Pupil& pupil = record.pupils[static_cast<std::size_t>(p)];
        pupils.push_back({{"firstName", pupil.firstName}, {"surname", pupil.surname}});
    }
    return {{"className", record.className},
            {"resultFolder", record.resultFolder},
            {"classTime", record.classTime},
            {"pupilCount", record.pupilCount},
            {"ownScale", record.ownScale},
            {"thresholds", record.thresholds},
            {"pupils", pupils}};
}

int ShowStudentsList(const std::string& path) {
    ProgramSurroundings surroundings;
    StudentsList list;
    CurrentChoice choice;
    const SystemClock clock;
    if (!ReadStudentsList(path, list, choice, surroundings.journal(), clock)) {
        return Refused(path, surroundings);
    }
    json classes = json::array();
    for (const ClassRecord& record : list.classes) {
        classes.push_back(ClassJson(record));
    }
    return Print({{"kind", "studentsList"},
                  {"listType", list.listType},
                  {"listDate", list.listDate},
                  {"listRemarks", list.listRemarks},
                  {"entryCount", list.entryCount},
                  {"classCount", list.classCount},
                  {"classes", classes}});
}

int ShowResult(const std::string& path) {
    Result<ResultRecord> read = ReadResult(path);
    if (!read) {
        std::fprintf(stderr, "oplix-tool show: %s: %s\n", path.c_str(),
                     read.error().message.c_str());
        return kFailure;
    }
    const ResultRecord& record = *read;
    json questions = json::array();
    for (const ResultQuestion& question : record.questions) {
        questions.push_back({{"chosenFlags", question.chosenFlags},
                             {"correctFlags", question.correctFlags},
                             {"correct", question.chosenFlags == question.correctFlags}});
    }
    const int correct = CountCorrect(record.questions);
    return Print({{"kind", "result"},
                  {"formatVersion", record.formatVersion},
                  {"buildIdentification", record.buildIdentification},
                  {"testName", record.testName},
                  {"author", record.author},
                  {"testType", record.testType},
                  {"answerCount", record.answerCount},
                  {"timeLimit", record.timeLimit},
                  {"startTime", record.startTime},
                  {"endTime", record.endTime},
                  {"saveTime", record.saveTime},
                  {"gradingSource", record.gradingSource},
                  {"thresholds", record.thresholds},
                  {"surname", record.surname},
                  {"firstName", record.firstName},
                  {"endedByTimeLimit", record.endedByTimeLimit},
                  {"questionCount", record.QuestionCount()},
                  {"questions", questions},
                  {"correctCount", correct},
                  {"effectiveness", EffectivenessPercent(correct, record.QuestionCount())}});
}

}  // namespace

int RunShow(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage();
    }
    const std::string& path = args[0];
    const std::string extension = LowerExtension(path);
    if (extension == ".skt") {
        return ShowTest(path);
    }
    if (extension == ".skg") {
        return ShowTestsList(path);
    }
    if (extension == ".sku") {
        return ShowStudentsList(path);
    }
    if (extension == ".sko") {
        return ShowResult(path);
    }
    return Usage();
}

}  // namespace oplix::tool
