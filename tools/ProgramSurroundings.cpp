#include "ProgramSurroundings.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/CurrentChoice.h"
#include "storage/Cp1250.h"
#include "storage/Random.h"

namespace oplix::tool {
namespace {

constexpr std::uint64_t kFixedSeed = 20240901;
constexpr int kMostDetailedJournalLevel = 3;

std::string MakeScratchFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string name = (base / "oplix-tool-XXXXXX").string();
    return mkdtemp(name.data()) != nullptr ? name : std::string();
}

// A box's text on one line: its line breaks become spaces.
std::string OnOneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

MessageBoxResult RecordedMessages::ShowMessageBox(MessageKind, MessageIcon, std::string_view text) {
    texts.emplace_back(text);
    return MessageBoxResult::Closed;
}

ProgramSurroundings::ProgramSurroundings() : folder_(MakeScratchFolder()) {
    settings_.sk = {95, 85, 75, 50, 30};
    if (Ready()) {
        journal_.SetFile(ScratchFile("Dziennik.txt"));
    }
    journal_.SetLevel(kMostDetailedJournalLevel);
    SeedProcessRandom(kFixedSeed);
}

ProgramSurroundings::~ProgramSurroundings() {
    if (Ready()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::string ProgramSurroundings::ScratchFile(std::string_view name) const {
    return folder_ + "/" + std::string(name);
}

TestReadOutcome ProgramSurroundings::ReadTestFile(const std::string& path, TestDocument& document,
                                                  TVfsPAK& archive) {
    const TestReadContext context{.journal = journal_,
                                  .messages = messages_,
                                  .settings = settings_,
                                  .random = ProcessRandom(),
                                  .mode = StartMode::TestFileAnonymously};
    return ReadTest(path, document, archive, context);
}

std::vector<std::string> ProgramSurroundings::JournalMessages() const {
    std::vector<std::string> messages;
    if (!Ready()) {
        return messages;
    }
    std::ifstream file(ScratchFile("Dziennik.txt"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        messages.push_back(Cp1250ToUtf8(line.substr(0, line.rfind(" - "))));
        start = end + 2;
    }
    return messages;
}

void ProgramSurroundings::PrintWhatTheProgramSaid(const char* command) const {
    for (const std::string& message : JournalMessages()) {
        std::fprintf(stderr, "oplix-tool %s: journal: %s\n", command, message.c_str());
    }
    for (const std::string& text : messages_.texts) {
        std::fprintf(stderr, "oplix-tool %s: message: %s\n", command, OnOneLine(text).c_str());
    }
}

}  // namespace oplix::tool
