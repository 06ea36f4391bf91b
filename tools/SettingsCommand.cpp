// oplix-tool settings show | set KEY VALUE: the current user's Test.ini, found where the program
// finds it, printed unscrambled or changed one key at a time through the program's own code.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramSurroundings.h"
#include "ToolCommands.h"
#include "ToolFiles.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/SettingsFile.h"

namespace oplix::tool {
namespace {

int Usage() {
    std::fputs(
        "usage: oplix-tool settings show\n"
        "       oplix-tool settings set KEY VALUE\n",
        stderr);
    return kUsageError;
}

int Fail(const std::string& subject, const std::string& message) {
    return ReportFailure("settings", subject, message);
}

Locations ProgramLocations() {
    return ComputeLocations(CurrentExecutablePath(), ProcessEnvironment());
}

// The program replaces such a file with the defaults at its next start; the tool leaves it be.
int Unreadable(const std::string& path, SettingsReadOutcome outcome) {
    if (outcome == SettingsReadOutcome::WrongHeader) {
        return Fail(path, "the header is not " + std::string(kSettingsHeader) +
                              "; the program will replace the file with the defaults");
    }
    return Fail(path, "damaged; the program will replace the file with the defaults");
}

int Show() {
    const std::string path = ProgramLocations().settingsFile;
    Settings settings;
    const SettingsReadOutcome outcome = ReadSettingsFile(path, settings);
    if (outcome == SettingsReadOutcome::Missing) {
        return Fail(path, "no settings file; the program creates it with the defaults");
    }
    if (outcome != SettingsReadOutcome::Read) {
        return Unreadable(path, outcome);
    }
    std::string text;
    for (std::string_view key : kSettingsKeys) {
        text += std::string(key) + "=" + SettingsKeyText(settings, key) + "\n";
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0) {
        return Fail("standard output", "cannot write the settings");
    }
    return kSuccess;
}

// A missing file is first created as the program creates it at start, with its journal line.
int Set(const std::string& key, const std::string& value) {
    Settings settings;
    if (const Status accepted = ParseSettingsKeyText(settings, key, value); !accepted) {
        std::fprintf(stderr, "oplix-tool settings: %s\n", accepted.error().message.c_str());
        return kFailure;
    }
    const Locations locations = ProgramLocations();
    const std::string& path = locations.settingsFile;
    Journal journal;
    journal.SetFile(locations.journalFile);
    const SettingsReadOutcome outcome = ReadSettingsFile(path, settings);
    if (outcome == SettingsReadOutcome::Missing) {
        CreateDataFolders(locations);
        RecordedMessages messages;
        if (LoadSettings(path, settings, journal, messages) !=
                SettingsLoadOutcome::CreatedMissing ||
            ReadSettingsFile(path, settings) != SettingsReadOutcome::Read) {
            return Fail(path, "cannot be created");
        }
        std::fprintf(stderr, "oplix-tool settings: %s: created with the defaults\n", path.c_str());
    } else if (outcome != SettingsReadOutcome::Read) {
        return Unreadable(path, outcome);
    }
    journal.SetLevel(settings.dfpz);
    if (!StoreSettingsKey(path, settings, journal, key, value)) {
        return Fail(path, "cannot be written");
    }
    return kSuccess;
}

}  // namespace

int RunSettings(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "show") {
        return Show();
    }
    if (args.size() == 3 && args[0] == "set") {
        return Set(args[1], args[2]);
    }
    return Usage();
}

}  // namespace oplix::tool
