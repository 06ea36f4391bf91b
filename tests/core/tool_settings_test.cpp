#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Journal.h"
#include "app/SettingsFile.h"
#include "fakes.h"
#include "journal_lines.h"
#include "storage/Cp1250.h"
#include "storage/Scrambling.h"
#include "storage/pkXML.h"
#include "tool_runner.h"

namespace oplix {
namespace {

namespace fs = std::filesystem;
using testing_fakes::RecordingMessageBox;
using testing_fakes::ScopedEnvironmentVariable;
using testing_files::JournalMessages;
using testing_files::ReadFileBytes;
using testing_files::RunTool;
using testing_files::ScratchFolder;
using testing_files::ToolRun;
using testing_files::WriteFileBytes;

const std::string kCreatedLine = "Plik ini nie istnieje. Utworzono domyślny plik ini.";

// A scratch home for the tool; the data folder is $XDG_DATA_HOME when `ownDataHome`, else
// ~/.local/share.
class ScratchHome {
public:
    explicit ScratchHome(bool ownDataHome = true)
        : dataHome_(ownDataHome ? folder_.File("dane") : folder_.File(".local/share")),
          home_("HOME", folder_.Path().c_str()),
          xdgDataHome_("XDG_DATA_HOME", ownDataHome ? dataHome_.c_str() : "") {}

    ToolRun Run(const std::vector<std::string>& arguments) const {
        std::vector<std::string> withCommand = {"settings"};
        withCommand.insert(withCommand.end(), arguments.begin(), arguments.end());
        return RunTool(withCommand, folder_);
    }

    const std::string& DataHome() const { return dataHome_; }
    std::string SettingsFile() const { return dataHome_ + "/Pelmar/Oplix/Test/Test.ini"; }
    std::string JournalFile() const { return dataHome_ + "/Pelmar/Oplix/Test/Dziennik.txt"; }

    // The file read back as the program reads it at start: no box, every key from the file.
    Settings LoadAsTheProgram() const {
        Journal journal;
        RecordingMessageBox messages;
        Settings settings;
        EXPECT_EQ(LoadSettings(SettingsFile(), settings, journal, messages),
                  SettingsLoadOutcome::Loaded);
        EXPECT_TRUE(messages.shown.empty());
        return settings;
    }

private:
    ScratchFolder folder_;
    std::string dataHome_;
    ScopedEnvironmentVariable home_;
    ScopedEnvironmentVariable xdgDataHome_;
};

std::string Out(const ToolRun& run) {
    return std::string(run.out.begin(), run.out.end());
}

TEST(ToolSettingsTest, SetOnAMissingFileCreatesTheDefaultsAndShowPrintsEveryKey) {
    for (const bool ownDataHome : {true, false}) {
        SCOPED_TRACE(ownDataHome ? "XDG_DATA_HOME" : "HOME");
        const ScratchHome home(ownDataHome);
        const ToolRun set = home.Run({"set", "sk", "9080706050"});
        ASSERT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(set.err,
                  "oplix-tool settings: " + home.SettingsFile() + ": created with the defaults\n");
        EXPECT_EQ(JournalMessages(home.JournalFile()), std::vector<std::string>{kCreatedLine});
        EXPECT_TRUE(fs::is_directory(home.DataHome() + "/Pelmar/Oplix/Test/Temp"));

        const ToolRun show = home.Run({"show"});
        ASSERT_EQ(show.exitCode, 0) << show.err;
        EXPECT_EQ(Out(show),
                  "ed=Probex\nsct=\nscl=\nal=1\nfn=0\nopl=1\nchl=1\nwoc=0\nwz=1\nsk=9080706050\n"
                  "wo=0\ndfpz=2\ntrc=1\n");
        EXPECT_EQ(show.err, "");
        EXPECT_EQ(home.LoadAsTheProgram().sk, (std::array<int, 5>{90, 80, 70, 60, 50}));
    }
}

TEST(ToolSettingsTest, SharedListPathsWithPolishLettersAndSpacesReadBack) {
    const ScratchHome home;
    const std::string tests = "/mnt/Wspólny dysk/Zestawy/Łódź — zażółć gęślą jaźń.skg";
    const std::string students = "/mnt/Wspólny dysk/Listy/Klasy ŚĆŹŻ 2025.sku";
    ASSERT_EQ(home.Run({"set", "sct", tests}).exitCode, 0);
    ASSERT_EQ(home.Run({"set", "scl", students}).exitCode, 0);

    const Settings settings = home.LoadAsTheProgram();
    EXPECT_EQ(settings.sct, tests);
    EXPECT_EQ(settings.scl, students);
    EXPECT_TRUE(settings.al);
    EXPECT_EQ(settings.dfpz, 2);
    const std::string shown = Out(home.Run({"show"}));
    EXPECT_NE(shown.find("\nsct=" + tests + "\nscl=" + students + "\n"), std::string::npos)
        << shown;
}

TEST(ToolSettingsTest, EachChangeWritesTheProgramsJournalLineAtTheLevelInForce) {
    const ScratchHome home;
    // Level 3 lets every line through; a list path has no line of its own; the level's own
    // line is filtered with the new level, so level 0 writes none.
    const std::vector<std::vector<std::string>> changes = {
        {"dfpz", "3"},         {"wo", "1"}, {"opl", "0"},  {"trc", "4"},
        {"sct", "/srv/t.skg"}, {"fn", "1"}, {"dfpz", "0"}, {"trc", "2"}};
    for (const std::vector<std::string>& change : changes) {
        const ToolRun run = home.Run({"set", change[0], change[1]});
        ASSERT_EQ(run.exitCode, 0) << change[0] << ": " << run.err;
    }
    EXPECT_EQ(
        JournalMessages(home.JournalFile()),
        (std::vector<std::string>{kCreatedLine, "Zmieniono poziom zdarzen. Aktualny poziom, to: 3",
                                  "Zmieniono w ini wielkość okna.", "Zmieniono widok legendy.",
                                  "Zmieniono tryb kopiowania. Aktualny tryb, to: 4"}));
    const Settings settings = home.LoadAsTheProgram();
    EXPECT_EQ(settings.wo, 1);
    EXPECT_FALSE(settings.opl);
    EXPECT_TRUE(settings.fn);
    EXPECT_EQ(settings.sct, "/srv/t.skg");
    EXPECT_EQ(settings.dfpz, 0);
    EXPECT_EQ(settings.trc, 2);
}

TEST(ToolSettingsTest, ValuesTheProgramCouldNotReadBackAreRefusedAndTheFileKept) {
    const ScratchHome home;
    ASSERT_EQ(home.Run({"set", "dfpz", "3"}).exitCode, 0);
    const Bytes file = ReadFileBytes(home.SettingsFile());
    const Bytes journal = ReadFileBytes(home.JournalFile());
    const std::vector<std::vector<std::string>> refused = {{"xyz", "1"},
                                                           {"ED", "1"},
                                                           {"ed", "Probex"},
                                                           {"al", "2"},
                                                           {"al", "01"},
                                                           {"woc", ""},
                                                           {"wz", "tak"},
                                                           {"sk", "0985755030"},
                                                           {"sk", "958575503"},
                                                           {"sk", "95857550301"},
                                                           {"sk", "9585755a30"},
                                                           {"sk", "9585755009"},
                                                           {"wo", "2"},
                                                           {"wo", "-1"},
                                                           {"dfpz", "5"},
                                                           {"dfpz", "02"},
                                                           {"trc", "0"},
                                                           {"trc", "5"},
                                                           {"trc", "+1"},
                                                           {"trc", "1 "},
                                                           {"sct", "/mnt/日本.skg"},
                                                           {"scl", std::string(501, 'a')},
                                                           {"scl", "\xff\xfe.sku"}};
    for (const std::vector<std::string>& args : refused) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const ToolRun run = home.Run({"set", args[0], args[1]});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.starts_with("oplix-tool settings: ")) << run.err;
        EXPECT_NE(run.err.find(args[0]), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_EQ(ReadFileBytes(home.SettingsFile()), file);
        EXPECT_EQ(ReadFileBytes(home.JournalFile()), journal);
    }

    // A refused value on a fresh account creates nothing.
    const ScratchHome fresh;
    EXPECT_EQ(fresh.Run({"set", "wo", "2"}).exitCode, 1);
    EXPECT_FALSE(fs::exists(fresh.DataHome()));
}

// Writes a settings file whose every key holds its default, `ed` holding `header`.
void WriteSettingsWithHeader(const std::string& path, std::string_view header) {
    Settings defaults;
    ResetSettingsToDefaults(defaults);
    TpkXML document;
    TpkXMLNode& ini = *document.FindTopNode(u"Ini", true);
    for (std::string_view key : kSettingsKeys) {
        const std::string text = key == "ed" ? std::string(header) : SettingsKeyText(defaults, key);
        const Result<std::string> scrambled = ScrambleText(Utf8ToCp1250(text));
        ASSERT_TRUE(scrambled.ok());
        ini.FindChild(std::u16string(key.begin(), key.end()), true)->Text =
            Cp1250ToUtf16(*scrambled);
    }
    WriteFileBytes(path, document.SaveToBytes());
}

TEST(ToolSettingsTest, MissingWrongHeadedAndDamagedFilesAreNeverWritten) {
    {
        const ScratchHome home;
        const ToolRun show = home.Run({"show"});
        EXPECT_EQ(show.exitCode, 1);
        EXPECT_EQ(show.err, "oplix-tool settings: " + home.SettingsFile() +
                                ": no settings file; the program creates it with the defaults\n");
        EXPECT_EQ(Out(show), "");
        EXPECT_FALSE(fs::exists(home.DataHome()));
    }
    const struct {
        std::string header;  // empty: not an XML document at all
        std::string message;
    } cases[] = {
        {"probex",
         ": the header is not Probex; the program will replace the file with the defaults"},
        {"", ": damaged; the program will replace the file with the defaults"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ScratchHome home;
        fs::create_directories(fs::path(home.SettingsFile()).parent_path());
        if (c.header.empty()) {
            WriteFileBytes(home.SettingsFile(), Bytes{'<', 'I', 'n', 'i', '>', '<'});
        } else {
            WriteSettingsWithHeader(home.SettingsFile(), c.header);
        }
        const Bytes before = ReadFileBytes(home.SettingsFile());
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"show"}, {"set", "wo", "1"}}) {
            const ToolRun run = home.Run(args);
            EXPECT_EQ(run.exitCode, 1) << args[0];
            EXPECT_EQ(run.err, "oplix-tool settings: " + home.SettingsFile() + c.message + "\n");
            EXPECT_EQ(ReadFileBytes(home.SettingsFile()), before);
            EXPECT_FALSE(fs::exists(home.JournalFile()));
        }
    }
}

TEST(ToolSettingsTest, WrongWordsAreUsageErrors) {
    const ScratchHome home;
    const std::vector<std::vector<std::string>> cases = {
        {}, {"show", "x"}, {"set", "al"}, {"set", "al", "1", "0"}, {"list"}, {"SHOW"}};
    for (const std::vector<std::string>& args : cases) {
        const ToolRun run = home.Run(args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(run.err.starts_with("usage: oplix-tool settings show\n")) << run.err;
    }
    EXPECT_FALSE(fs::exists(home.DataHome()));
}

}  // namespace
}  // namespace oplix
