#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "formats/TestDocument.h"
#include "formats/TestFileReader.h"
#include "storage/VfsPAK.h"

namespace oplix::tool {

// Records every box the program would have shown.
class RecordedMessages : public MessageBoxPresenter {
public:
    MessageBoxResult ShowMessageBox(MessageKind kind, MessageIcon icon,
                                    std::string_view text) override;

    std::vector<std::string> texts;  // UTF-8, "\r" breaking the lines
};

// What the program has around it when it reads a document: a journal at its most detailed
// level, kept in a scratch folder of its own, the message box, the default settings (sk 95 85
// 75 50 30) and a fixed random seed, so that the answers' order is the same on every run.
class ProgramSurroundings {
public:
    ProgramSurroundings();
    ~ProgramSurroundings();
    ProgramSurroundings(const ProgramSurroundings&) = delete;
    ProgramSurroundings& operator=(const ProgramSurroundings&) = delete;

    // False when the scratch folder could not be made; reads then journal nothing.
    bool Ready() const { return !folder_.empty(); }
    // A path for a temporary file inside the scratch folder.
    std::string ScratchFile(std::string_view name) const;

    Journal& journal() { return journal_; }
    RecordedMessages& messages() { return messages_; }
    const Settings& settings() const { return settings_; }

    // Reads the test anonymously from a file, as a test opened by a double click.
    TestReadOutcome ReadTestFile(const std::string& path, TestDocument& document, TVfsPAK& archive);

    // The journal's messages without their " - date time" part, in UTF-8.
    std::vector<std::string> JournalMessages() const;
    // Prints every journal message and box text, one to a line, after "oplix-tool COMMAND: ".
    void PrintWhatTheProgramSaid(const char* command) const;

private:
    std::string folder_;
    Journal journal_;
    RecordedMessages messages_;
    Settings settings_;
};

}  // namespace oplix::tool
