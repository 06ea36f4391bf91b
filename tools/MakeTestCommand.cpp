// oplix-tool make-test SOURCE_DIR OUT.skt [--encode] [--utf16] [--v35]: packs a folder holding a
// plain Serr0.xml and the picture and text files its questions name into a test.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FileNames.h"
#include "ProgramSurroundings.h"
#include "ToolCommands.h"
#include "ToolFiles.h"
#include "formats/TestFileWriter.h"

namespace oplix::tool {
namespace {

constexpr const char* kCommand = "make-test";

struct MakeTestRequest {
    std::string sourceFolder;
    std::string output;
    Test40Options options;
    bool version35 = false;
};

int Usage() {
    std::fputs("usage: oplix-tool make-test SOURCE_DIR OUT.skt [--encode] [--utf16] [--v35]\n",
               stderr);
    return kUsageError;
}

int Fail(const std::string& subject, const std::string& message) {
    return ReportFailure("make-test", subject, message);
}

std::optional<MakeTestRequest> ParseRequest(const std::vector<std::string>& args) {
    MakeTestRequest request;
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg == "--encode") {
            request.options.encoded = true;
        } else if (arg == "--utf16") {
            request.options.utf16 = true;
        } else if (arg == "--v35") {
            request.version35 = true;
        } else if (arg.starts_with("--")) {
            return std::nullopt;
        } else {
            paths.push_back(arg);
        }
    }
    // A version-35 test is scrambled text lines: it has neither encoding nor UTF-16.
    const bool mixed = request.version35 && (request.options.encoded || request.options.utf16);
    if (paths.size() != 2 || mixed) {
        return std::nullopt;
    }
    request.sourceFolder = paths[0];
    request.output = paths[1];
    return request;
}

// The folder's description and its other regular files, sorted by name.
struct SourceFiles {
    std::optional<TestMember> description;
    std::vector<TestMember> members;
};

bool CollectSource(const std::string& folder, SourceFiles& source) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error)) {
            files.push_back(entry.path());
        }
    }
    if (error) {
        Fail(folder, "cannot list the folder: " + error.message());
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        TestMember member{file.filename().string(), {}};
        if (!ReadInputFile(kCommand, file.string(), member.bytes)) {
            return false;
        }
        const std::string lower = AsciiLower(member.name);
        if (lower == AsciiLower(kTest35Member)) {
            // It would make the program read the test as version 35 and ignore the XML.
            Fail(file.string(), "a source folder cannot hold a version-35 description");
            return false;
        }
        if (lower == AsciiLower(kTest40Member)) {
            member.name = std::string(kTest40Member);
            source.description = std::move(member);
        } else {
            source.members.push_back(std::move(member));
        }
    }
    if (!source.description) {
        Fail(folder, "the folder holds no " + std::string(kTest40Member));
        return false;
    }
    return true;
}

// Reads the description the way the program reads a test, from an archive holding it and
// the members.
bool ReadSource(const SourceFiles& source, TestDocument& document) {
    ProgramSurroundings surroundings;
    if (!surroundings.Ready()) {
        Fail(kTest40Member.data(), "cannot make a scratch folder");
        return false;
    }
    std::vector<TestMember> members{*source.description};
    members.insert(members.end(), source.members.begin(), source.members.end());
    const std::string archivePath = surroundings.ScratchFile("source.skt");
    if (Status written = WriteTestArchive(archivePath, members); !written) {
        Fail(archivePath, written.error().message);
        return false;
    }
    TVfsPAK archive;
    if (surroundings.ReadTestFile(archivePath, document, archive) != TestReadOutcome::Loaded) {
        std::fprintf(stderr, "oplix-tool make-test: %s: the program would refuse this test\n",
                     kTest40Member.data());
        surroundings.PrintWhatTheProgramSaid(kCommand);
        return false;
    }
    return true;
}

Status WriteTest(const std::string& path, const MakeTestRequest& request,
                 const TestDocument& document, const std::vector<TestMember>& members) {
    if (request.version35) {
        return WriteTest35(path, document, members);
    }
    return WriteTest40(path, document, request.options, members);
}

void AddIfDifferent(bool different, const char* field, std::vector<std::string>& fields) {
    if (different && std::find(fields.begin(), fields.end(), field) == fields.end()) {
        fields.emplace_back(field);
    }
}

// The fields the written test reads back differently; the answers' drawn order aside.
std::vector<std::string> ChangedFields(const TestDocument& source, const TestDocument& read) {
    std::vector<std::string> fields;
    AddIfDifferent(source.answerCount != read.answerCount, "answer count", fields);
    AddIfDifferent(source.testType != read.testType, "test type", fields);
    AddIfDifferent(source.questionCount != read.questionCount, "question count", fields);
    AddIfDifferent(source.timeLimit != read.timeLimit, "time limit", fields);
    AddIfDifferent(source.testName != read.testName, "test name", fields);
    AddIfDifferent(source.author != read.author, "author", fields);
    AddIfDifferent(source.date != read.date, "date", fields);
    AddIfDifferent(source.remarks != read.remarks, "remarks", fields);
    AddIfDifferent(
        source.gradingSource != read.gradingSource || source.thresholds != read.thresholds,
        "grading scale", fields);
    for (int n = 1; n <= std::min(source.questionCount, read.questionCount); ++n) {
        const Question& a = source.At(n);
        const Question& b = read.At(n);
        AddIfDifferent(a.text != b.text, "question texts", fields);
        AddIfDifferent(a.correctFlags != b.correctFlags, "correct answers", fields);
        AddIfDifferent(a.textMember != b.textMember, "text members", fields);
        AddIfDifferent(a.pictureMember != b.pictureMember, "picture members", fields);
        AddIfDifferent(a.hint != b.hint, "hints", fields);
        for (std::size_t k = 0; k < a.answers.size(); ++k) {
            AddIfDifferent(a.answers[k].text != b.answers[k].text ||
                               a.answers[k].isCorrect != b.answers[k].isCorrect,
                           "answers", fields);
        }
    }
    return fields;
}

// The written test must load; it must also hold what the source holds, except what version 35
// has no place for, which is named on standard error.
bool ReadsBackAsWritten(const std::string& path, const TestDocument& source, bool version35) {
    ProgramSurroundings surroundings;
    TestDocument document;
    TVfsPAK archive;
    if (surroundings.ReadTestFile(path, document, archive) != TestReadOutcome::Loaded) {
        std::fprintf(stderr, "oplix-tool make-test: the written test does not load\n");
        surroundings.PrintWhatTheProgramSaid(kCommand);
        return false;
    }
    const std::vector<std::string> changed = ChangedFields(source, document);
    for (const std::string& field : changed) {
        std::fprintf(stderr, "oplix-tool make-test: %s: %s\n", field.c_str(),
                     version35 ? "version 35 cannot hold it; left out" : "reads back differently");
    }
    return version35 || changed.empty();
}

// A name for the new test beside the output, so that linking it into place cannot cross file
// systems.
std::optional<std::string> MakeTemporaryBeside(const std::string& output) {
    std::string name = output + ".XXXXXX";
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        return std::nullopt;
    }
    close(descriptor);
    return name;
}

}  // namespace

int RunMakeTest(const std::vector<std::string>& args) {
    const std::optional<MakeTestRequest> request = ParseRequest(args);
    if (!request) {
        return Usage();
    }
    struct stat info {};
    if (::lstat(request->output.c_str(), &info) == 0) {
        return Fail(request->output, "the file already exists");
    }
    SourceFiles source;
    TestDocument document;
    if (!CollectSource(request->sourceFolder, source) || !ReadSource(source, document)) {
        return kFailure;
    }
    const std::optional<std::string> temporary = MakeTemporaryBeside(request->output);
    if (!temporary) {
        return Fail(request->output,
                    std::string("cannot create a file beside it: ") + std::strerror(errno));
    }
    // The test is written whole and checked under a temporary name, then linked into place,
    // which never replaces a file that appeared in the meantime.
    int outcome = kSuccess;
    if (Status written = WriteTest(*temporary, *request, document, source.members); !written) {
        outcome = Fail(request->output, written.error().message);
    } else if (!ReadsBackAsWritten(*temporary, document, request->version35)) {
        outcome = kFailure;
    } else if (::link(temporary->c_str(), request->output.c_str()) != 0) {
        outcome = Fail(request->output, errno == EEXIST ? std::string("the file already exists")
                                                        : std::strerror(errno));
    }
    ::unlink(temporary->c_str());
    return outcome;
}

}  // namespace oplix::tool
