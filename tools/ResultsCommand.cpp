// oplix-tool results FILE_OR_FOLDER... [-o OUT.csv]: collects result files into one CSV table,
// one row per file. A damaged file is named on standard error and left out of the table.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileNames.h"
#include "ToolCommands.h"
#include "ToolFiles.h"
#include "formats/ResultFileReader.h"
#include "testing/Grading.h"

namespace oplix::tool {
namespace {

struct ResultsRequest {
    std::vector<std::string> inputs;
    std::optional<std::string> output;
};

int Usage() {
    std::fputs("usage: oplix-tool results FILE_OR_FOLDER... [-o OUT.csv]\n", stderr);
    return kUsageError;
}

void Complain(const std::string& subject, const std::string& message) {
    ReportFailure("results", subject, message);
}

std::optional<ResultsRequest> ParseRequest(const std::vector<std::string>& args) {
    ResultsRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 == args.size() || request.output) {
                return std::nullopt;
            }
            request.output = args[++i];
        } else {
            request.inputs.push_back(args[i]);
        }
    }
    if (request.inputs.empty()) {
        return std::nullopt;
    }
    return request;
}

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break, with
// its quotes doubled.
std::string CsvField(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(value);
    }
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        row += (i == 0 ? "" : ",") + CsvField(fields[i]);
    }
    return row + "\r\n";
}

const std::vector<std::string> kHeader{
    "surname", "first name",    "test name",           "author",   "start", "end", "questions",
    "correct", "effectiveness", "ended by time limit", "file name"};

std::string ResultRow(const ResultRecord& record, const std::string& path) {
    const int correct = CountCorrect(record.questions);
    return CsvRow({record.surname, record.firstName, record.testName, record.author,
                   record.startTime, record.endTime, std::to_string(record.QuestionCount()),
                   std::to_string(correct),
                   std::to_string(EffectivenessPercent(correct, record.QuestionCount())),
                   record.endedByTimeLimit ? "1" : "0", path});
}

// The .sko files of a folder (the extension in any case), sorted by name; folders inside are
// not entered.
bool AddFolderResults(const std::string& folder, std::vector<std::string>& paths) {
    std::error_code error;
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && LowerExtension(entry.path().string()) == ".sko") {
            found.push_back(entry.path().string());
        }
    }
    if (error) {
        Complain(folder, "cannot list the folder: " + error.message());
        return false;
    }
    std::sort(found.begin(), found.end());
    paths.insert(paths.end(), found.begin(), found.end());
    return true;
}

bool WriteTable(const std::string& table, const std::optional<std::string>& output) {
    std::FILE* file = output ? std::fopen(output->c_str(), "wb") : stdout;
    if (file == nullptr) {
        Complain(*output, "cannot create the file");
        return false;
    }
    const bool written = std::fwrite(table.data(), 1, table.size(), file) == table.size();
    const bool closed = output ? std::fclose(file) == 0 : std::fflush(file) == 0;
    if (!written || !closed) {
        Complain(output.value_or("standard output"), "cannot write the table");
        return false;
    }
    return true;
}

}  // namespace

int RunResults(const std::vector<std::string>& args) {
    const std::optional<ResultsRequest> request = ParseRequest(args);
    if (!request) {
        return Usage();
    }
    bool everyFileRead = true;
    std::vector<std::string> paths;
    for (const std::string& input : request->inputs) {
        std::error_code error;
        if (std::filesystem::is_directory(input, error)) {
            everyFileRead = AddFolderResults(input, paths) && everyFileRead;
        } else {
            paths.push_back(input);
        }
    }
    std::string table = CsvRow(kHeader);
    for (const std::string& path : paths) {
        Result<ResultRecord> record = ReadResult(path);
        if (!record) {
            Complain(path, record.error().message);
            everyFileRead = false;
            continue;
        }
        table += ResultRow(*record, path);
    }
    if (!WriteTable(table, request->output)) {
        return kFailure;
    }
    return everyFileRead ? kSuccess : kFailure;
}

}  // namespace oplix::tool
