#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Journal.h"
#include "app/Locations.h"
#include "app/SettingsFile.h"
#include "fakes.h"
#include "journal_lines.h"
#include "storage/Cp1250.h"
#include "storage/Scrambling.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_fakes::FixedClock;
using testing_fakes::RecordingMessageBox;
using testing_files::JournalMessages;
using testing_files::ReadFileBytes;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

constexpr std::string_view kMissingBox =
    "Plik ustawień nie istnieje. Utworzono plik z ustawieniami domyślymi.";
constexpr std::string_view kWrongHeaderBox =
    "Plik ustawień jest uszkodzony. Utworzono nowy plik z ustawieniami domyślym.";
constexpr std::string_view kDamagedBox =
    "Plik ustawień jest uszkodzony. Utwórzono nowy plik z ustawieniami domyślym.";
constexpr std::string_view kDamagedLine = "Uszkodzony plik Test.ini. Błąd odczytu.";
constexpr std::string_view kStoreFailedLine = "Problem z zapisem zmiany ustawień do ini.";

const std::vector<std::string> kFileOrder = {"ed",  "sct", "scl", "al", "fn",   "opl", "chl",
                                             "woc", "wz",  "sk",  "wo", "dfpz", "trc"};

const std::map<std::string, std::string> kDefaultTexts = {
    {"ed", "Probex"}, {"sct", ""},   {"scl", ""},  {"al", "1"},          {"fn", "0"},
    {"opl", "1"},     {"chl", "1"},  {"woc", "0"}, {"sk", "9585755030"}, {"wz", "1"},
    {"wo", "0"},      {"dfpz", "2"}, {"trc", "1"}};

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TpkXML LoadDocument(const std::string& path) {
    TpkXML document;
    EXPECT_TRUE(document.LoadFromFile(path)) << path;
    return document;
}

TpkXMLNode* Ini(TpkXML& document) {
    return document.FindTopNode(u"Ini", false);
}

std::vector<std::string> KeyOrder(const std::string& path) {
    TpkXML document = LoadDocument(path);
    std::vector<std::string> names;
    if (TpkXMLNode* ini = Ini(document)) {
        for (int i = 0; i < ini->ChildCount(); ++i) {
            names.push_back(Utf16ToUtf8(ini->Child(i)->Name));
        }
    }
    return names;
}

// The unscrambled text of a key, as UTF-8; none when the element is absent or empty.
std::optional<std::string> StoredText(const std::string& path, std::string_view key) {
    TpkXML document = LoadDocument(path);
    TpkXMLNode* ini = Ini(document);
    TpkXMLNode* element = ini == nullptr ? nullptr : ini->FindChild(Utf8ToUtf16(key), false);
    if (element == nullptr) {
        return std::nullopt;
    }
    const Result<std::string> value = UnscrambleText(Utf16ToCp1250(element->Text));
    if (!value) {
        return std::nullopt;
    }
    return Cp1250ToUtf8(*value);
}

// Gives a key a new stored value in the file, or none to leave the element out. The file
// keeps its encoding.
void EditStored(const std::string& path, std::string_view key, std::optional<std::string> value) {
    TpkXML document = LoadDocument(path);
    TpkXMLNode* element = document.FindTopNode(u"Ini", true)->FindChild(Utf8ToUtf16(key), true);
    element->Text.clear();
    if (value) {
        const Result<std::string> scrambled = ScrambleText(Utf8ToCp1250(*value));
        ASSERT_TRUE(scrambled.ok());
        element->Text = Cp1250ToUtf16(*scrambled);  // an empty element is left out when saved
    }
    ASSERT_TRUE(document.SaveToFile(path).ok());
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Settings DefaultSettings() {
    Settings settings;
    ResetSettingsToDefaults(settings);
    return settings;
}

bool SameSettings(const Settings& a, const Settings& b) {
    for (std::string_view key : kSettingsKeys) {
        if (SettingsKeyText(a, key) != SettingsKeyText(b, key)) {
            return false;
        }
    }
    return true;
}

// A settings file and a journal beside it in a scratch folder.
class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() : journal(clock) { journal.SetFile(journalPath); }

    // A file written by the program's own writer, from `values`.
    void WriteFile(const Settings& values) {
        Journal silent(clock);
        ASSERT_TRUE(WriteWholeSettingsFile(path, values, silent));
    }

    SettingsLoadOutcome Load() { return LoadSettings(path, settings, journal, box); }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : box.shown) {
            EXPECT_EQ(shown.kind, MessageKind::Close);
            EXPECT_EQ(shown.icon, MessageIcon::Information);
            texts.push_back(shown.text);
        }
        return texts;
    }

    std::vector<std::string> Journaled() const { return JournalMessages(journalPath); }

    ScratchFolder folder;
    const std::string path = folder.File("Test.ini");
    const std::string journalPath = folder.File("Dziennik.txt");
    FixedClock clock;
    Journal journal;
    RecordingMessageBox box;
    Settings settings;
};

TEST(SettingsStartUp, FirstRunCreatesFoldersAndTheDefaultFile) {
    ScratchFolder home;
    const Locations locations = ComputeLocations(
        "/usr/bin/oplix-test", [&](std::string_view name) -> std::optional<std::string> {
            return name == "HOME" ? std::optional<std::string>(home.Path()) : std::nullopt;
        });
    CreateDataFolders(locations);
    const FixedClock clock;
    Journal journal(clock);
    journal.SetFile(locations.journalFile);
    RecordingMessageBox box;
    Settings settings;

    EXPECT_EQ(LoadSettings(locations.settingsFile, settings, journal, box),
              SettingsLoadOutcome::CreatedMissing);
    RaiseCopyMethodForStartUp(settings);

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kMissingBox);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(box.shown[0].kind, MessageKind::Close);
    // At the default level 2 the level-1 line is written, "Zapisano nowy plik" (3) is not.
    EXPECT_EQ(JournalMessages(locations.journalFile),
              std::vector<std::string>{"Plik ini nie istnieje. Utworzono domyślny plik ini."});
    EXPECT_EQ(journal.Level(), 2);
    EXPECT_TRUE(SameSettings(settings, DefaultSettings()));

    const Bytes bytes = ReadFileBytes(locations.settingsFile);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_FALSE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "a new file is 8-bit";
    EXPECT_EQ(KeyOrder(locations.settingsFile), kFileOrder);
    for (const auto& [key, text] : kDefaultTexts) {
        EXPECT_EQ(StoredText(locations.settingsFile, key), text) << key;
    }
    EXPECT_EQ(FolderEntries(locations.dataFolder),
              (std::vector<std::string>{"Dziennik.txt", "Temp", "Test.ini"}));
}

TEST_F(SettingsFileTest, ReadsBackEveryValueTheWriterStored) {
    Settings values;
    values.sct = "/home/nauczyciel/Zestawy/Fizyka – klasa 3.skg";
    values.scl = "";
    values.al = false;
    values.fn = true;
    values.opl = false;
    values.chl = false;
    values.woc = true;
    values.wz = false;
    values.sk = {90, 80, 70, 55, 40};
    values.wo = 1;
    values.dfpz = 3;
    values.trc = 3;
    WriteFile(values);

    EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
    EXPECT_TRUE(SameSettings(settings, values));
    EXPECT_TRUE(box.shown.empty());
    // The level read from the file already filters the loader's own level-3 line.
    EXPECT_EQ(journal.Level(), 3);
    EXPECT_EQ(Journaled(), std::vector<std::string>{"Poprawnie wczytano plik Test.ini."});
}

TEST_F(SettingsFileTest, ThresholdsAreTwoDigitPieces) {
    const struct {
        std::string stored;
        std::array<int, 5> thresholds;
    } cases[] = {
        {"9585755030", {95, 85, 75, 50, 30}},
        {"1020304099", {10, 20, 30, 40, 99}},
        {"958575503012", {95, 85, 75, 50, 30}},  // what follows the tenth character is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteFile(DefaultSettings());
        EditStored(path, "sk", c.stored);
        EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
        EXPECT_EQ(settings.sk, c.thresholds);
    }
}

TEST_F(SettingsFileTest, WrongHeaderRestoresDefaults) {
    Settings values = DefaultSettings();
    values.wo = 1;
    WriteFile(values);
    EditStored(path, "ed", "PROBEX");

    EXPECT_EQ(Load(), SettingsLoadOutcome::WrongHeader);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kWrongHeaderBox)});
    EXPECT_EQ(Journaled(),
              std::vector<std::string>{"Błędny nagłówek pliku ini lub plik uszkodzony."});
    EXPECT_TRUE(SameSettings(settings, DefaultSettings()));
    EXPECT_EQ(StoredText(path, "ed"), "Probex");
    EXPECT_EQ(StoredText(path, "wo"), "0");
    EXPECT_EQ(KeyOrder(path), kFileOrder);
}

TEST_F(SettingsFileTest, DamagedFileRestoresDefaults) {
    const struct {
        const char* what;
        std::string key;
        std::optional<std::string> stored;  // none: the element is left out
    } cases[] = {
        {"al missing", "al", std::nullopt},   {"header missing", "ed", std::nullopt},
        {"sct missing", "sct", std::nullopt}, {"wz missing", "wz", std::nullopt},
        {"sk missing", "sk", std::nullopt},   {"sk not numeric", "sk", "95857x5030"},
        {"sk too short", "sk", "958575"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        box.shown.clear();
        std::filesystem::remove(journalPath);
        Settings values = DefaultSettings();
        values.sct = "/przeczytany/przed/bledem.skg";
        values.wo = 1;
        WriteFile(values);
        EditStored(path, c.key, c.stored);

        EXPECT_EQ(Load(), SettingsLoadOutcome::Damaged);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kDamagedBox)});
        EXPECT_EQ(Journaled(), std::vector<std::string>{std::string(kDamagedLine)});
        EXPECT_TRUE(SameSettings(settings, DefaultSettings()));
        EXPECT_EQ(KeyOrder(path), kFileOrder);
        EXPECT_EQ(StoredText(path, "sct"), "");
    }
}

TEST_F(SettingsFileTest, UnreadableFileRestoresDefaults) {
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"end tag of another element", BytesOf("<Ini><ed>abc</Inne></Ini>")},
        {"text outside elements", BytesOf("<Ini></Ini>tekst")},
        {"no Ini element", BytesOf("<Inne><ed>abc</ed></Inne>\r\n")},
        {"not XML at all", BytesOf("ed=Probex\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        box.shown.clear();
        std::filesystem::remove(journalPath);
        WriteFileBytes(path, c.bytes);

        EXPECT_EQ(Load(), SettingsLoadOutcome::Damaged);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kDamagedBox)});
        EXPECT_EQ(Journaled(), std::vector<std::string>{std::string(kDamagedLine)});
        EXPECT_EQ(KeyOrder(path), kFileOrder);
    }
}

TEST_F(SettingsFileTest, IntegerKeysReadAsZeroWithoutDamage) {
    const struct {
        std::string key;
        std::optional<std::string> stored;
        int wo, dfpz, trcAfterStartUp;
    } cases[] = {
        {"wo", std::nullopt, 0, 2, 1},   {"wo", "duży", 0, 2, 1}, {"wo", "", 0, 2, 1},
        {"trc", "0", 0, 2, 1},           {"trc", "abc", 0, 2, 1}, {"trc", "-3", 0, 2, 1},
        {"trc", std::nullopt, 0, 2, 1},  {"trc", "3", 0, 2, 3},   {"trc", "+4", 0, 2, 4},
        {"dfpz", std::nullopt, 0, 0, 1}, {"dfpz", "x", 0, 0, 1},  {"dfpz", "4", 0, 4, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " " + c.stored.value_or("(missing)"));
        box.shown.clear();
        WriteFile(DefaultSettings());
        EditStored(path, c.key, c.stored);

        EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
        RaiseCopyMethodForStartUp(settings);
        EXPECT_TRUE(box.shown.empty());
        EXPECT_EQ(settings.wo, c.wo);
        EXPECT_EQ(settings.dfpz, c.dfpz);
        EXPECT_EQ(journal.Level(), c.dfpz);
        EXPECT_EQ(settings.trc, c.trcAfterStartUp);
    }
}

TEST_F(SettingsFileTest, FlagsAreOnOnlyForTheTextOne) {
    for (const char* stored : {"1", "0", "2", "tak", " 1", "01"}) {
        SCOPED_TRACE(stored);
        WriteFile(DefaultSettings());
        EditStored(path, "fn", std::string(stored));
        EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
        EXPECT_EQ(settings.fn, std::string_view(stored) == "1");
    }
}

TEST_F(SettingsFileTest, JournalLevelZeroIsStoredWithoutAJournalLine) {
    WriteFile(DefaultSettings());
    ASSERT_EQ(Load(), SettingsLoadOutcome::Loaded);
    ASSERT_EQ(journal.Level(), 2);

    EXPECT_TRUE(StoreJournalLevel(path, settings, journal, 0));
    EXPECT_EQ(settings.dfpz, 0);
    EXPECT_EQ(journal.Level(), 0);
    EXPECT_EQ(StoredText(path, "dfpz"), "0");
    EXPECT_TRUE(Journaled().empty());

    EXPECT_TRUE(StoreJournalLevel(path, settings, journal, 1));
    EXPECT_EQ(Journaled(),
              std::vector<std::string>{"Zmieniono poziom zdarzen. Aktualny poziom, to: 1"});
}

TEST_F(SettingsFileTest, SingleKeyUpdateChangesOnlyThatElement) {
    using Store = bool (*)(const std::string&, Settings&, Journal&, int);
    const struct {
        std::string key;
        Store store;
        int value;
        std::string line;
    } cases[] = {
        {"wo", &StoreWindowMode, 1, "Zmieniono w ini wielkość okna."},
        {"dfpz", &StoreJournalLevel, 4, "Zmieniono poziom zdarzen. Aktualny poziom, to: 4"},
        {"trc", &StoreCopyMethod, 2, "Zmieniono tryb kopiowania. Aktualny tryb, to: 2"},
        {"opl",
         [](const std::string& file, Settings& s, Journal& j, int value) {
             return StoreLegendShown(file, s, j, value != 0);
         },
         0, "Zmieniono widok legendy."},
    };
    for (const bool unicode : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.key + (unicode ? " UTF-16" : " 8-bit"));
            std::filesystem::remove(journalPath);
            WriteFile(DefaultSettings());
            TpkXML written = LoadDocument(path);
            written.Unicode = unicode;
            ASSERT_TRUE(written.SaveToFile(path).ok());
            ASSERT_EQ(Load(), SettingsLoadOutcome::Loaded);
            journal.SetLevel(4);
            settings.dfpz = 4;
            const TpkXML before = LoadDocument(path);

            EXPECT_TRUE(c.store(path, settings, journal, c.value));
            EXPECT_EQ(Journaled(), std::vector<std::string>{c.line});
            EXPECT_EQ(SettingsKeyText(settings, c.key), std::to_string(c.value));
            EXPECT_EQ(StoredText(path, c.key), std::to_string(c.value));

            const Bytes bytes = ReadFileBytes(path);
            ASSERT_GE(bytes.size(), 2u);
            EXPECT_EQ(bytes[0] == 0xFF && bytes[1] == 0xFE, unicode);
            TpkXML after = LoadDocument(path);
            EXPECT_EQ(after.Unicode, unicode);
            ASSERT_EQ(KeyOrder(path), kFileOrder);
            // The other elements keep their very scrambled texts.
            const TpkXMLNode& iniBefore = *before.Root().Child(0);
            const TpkXMLNode& iniAfter = *Ini(after);
            for (int i = 0; i < iniAfter.ChildCount(); ++i) {
                if (Utf16ToUtf8(iniAfter.Child(i)->Name) != c.key) {
                    EXPECT_EQ(iniAfter.Child(i)->Text, iniBefore.Child(i)->Text);
                }
            }
        }
    }
}

TEST_F(SettingsFileTest, SingleKeyUpdateAddsAMissingKeyAtTheEnd) {
    WriteFile(DefaultSettings());
    EditStored(path, "wo", std::nullopt);
    EXPECT_TRUE(StoreWindowMode(path, settings, journal, 1));
    std::vector<std::string> expected = kFileOrder;
    expected.erase(std::find(expected.begin(), expected.end(), "wo"));
    expected.push_back("wo");
    EXPECT_EQ(KeyOrder(path), expected);
    EXPECT_EQ(StoredText(path, "wo"), "1");
}

// A raw-data element of the key's name reads as no value; a single-key update makes it a
// plain element holding the value, which then reads back.
TEST_F(SettingsFileTest, SingleKeyUpdateStoresIntoARawDataElementOfTheKey) {
    WriteFile(DefaultSettings());
    TpkXML document = LoadDocument(path);
    TpkXMLNode& wo = *Ini(document)->FindChild(u"wo", false);
    wo.Kind = TpkXMLKind::RawData;
    wo.Text.clear();
    wo.Data = BytesOf("abc");
    document.Unicode = true;  // raw data is bytes of the 16-bit text
    ASSERT_TRUE(document.SaveToFile(path).ok());
    ASSERT_EQ(Load(), SettingsLoadOutcome::Loaded);

    EXPECT_TRUE(StoreWindowMode(path, settings, journal, 1));
    EXPECT_EQ(KeyOrder(path), kFileOrder);
    EXPECT_EQ(StoredText(path, "wo"), "1");
    settings.wo = 0;
    EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
    EXPECT_EQ(settings.wo, 1);
}

// Raw data survives only in UTF-16 files. An 8-bit file whose last element is raw data with a
// length beyond the end still reads; written back, it would not, so the update is refused.
TEST_F(SettingsFileTest, SingleKeyUpdateThatWouldDamageTheFileIsRefused) {
    WriteFile(DefaultSettings());
    Bytes bytes = ReadFileBytes(path);
    const std::string_view end = "</Ini>";
    const auto at = std::search(bytes.begin(), bytes.end(), end.begin(), end.end());
    ASSERT_NE(at, bytes.end());
    const Bytes rawData = BytesOf("<&x>\xff\xff\xff\x7f");
    bytes.insert(at, rawData.begin(), rawData.end());
    WriteFileBytes(path, bytes);
    ASSERT_EQ(Load(), SettingsLoadOutcome::Loaded);
    journal.SetLevel(4);

    EXPECT_FALSE(StoreWindowMode(path, settings, journal, 1));
    EXPECT_EQ(Journaled(), std::vector<std::string>{std::string(kStoreFailedLine)});
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
}

TEST_F(SettingsFileTest, AFileDeletedDuringTheRunIsRecreatedAtTheNextStart) {
    EXPECT_TRUE(StoreCopyMethod(path, settings, journal, 2));
    EXPECT_EQ(KeyOrder(path), std::vector<std::string>{"trc"});
    EXPECT_EQ(Load(), SettingsLoadOutcome::Damaged);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kDamagedBox)});
    EXPECT_EQ(KeyOrder(path), kFileOrder);
}

TEST_F(SettingsFileTest, AnUnreadableFileIsNotOverwrittenByASingleKeyUpdate) {
    WriteFileBytes(path, BytesOf("<Ini><wo>0</Inne>"));
    journal.SetLevel(4);
    EXPECT_FALSE(StoreWindowMode(path, settings, journal, 1));
    EXPECT_EQ(settings.wo, 1);
    EXPECT_EQ(Journaled(), std::vector<std::string>{std::string(kStoreFailedLine)});
    EXPECT_EQ(ReadFileBytes(path), BytesOf("<Ini><wo>0</Inne>"));
}

TEST_F(SettingsFileTest, WritesIntoAFolderThatIsAFileFail) {
    WriteFileBytes(folder.File("plik"), BytesOf("zwykły plik"));
    const std::string impossible = folder.File("plik/Test.ini");
    journal.SetLevel(4);
    EXPECT_FALSE(WriteWholeSettingsFile(impossible, DefaultSettings(), journal));
    EXPECT_FALSE(StoreWindowMode(impossible, settings, journal, 1));
    EXPECT_FALSE(StoreLegendShown(impossible, settings, journal, false));
    EXPECT_EQ(settings.wo, 1);
    EXPECT_FALSE(settings.opl);
    EXPECT_EQ(Journaled(), (std::vector<std::string>{"Problem z zapisem Test.ini.",
                                                     std::string(kStoreFailedLine),
                                                     std::string(kStoreFailedLine)}));
    EXPECT_EQ(ReadFileBytes(folder.File("plik")), BytesOf("zwykły plik"));
}

TEST_F(SettingsFileTest, FailureLinesHaveTheirOwnLevels) {
    const std::string impossible = folder.File("brak/Test.ini");
    journal.SetLevel(1);  // "opl" fails at level 2, the whole file at level 2, "wo" at level 1
    EXPECT_FALSE(WriteWholeSettingsFile(impossible, DefaultSettings(), journal));
    EXPECT_FALSE(StoreLegendShown(impossible, settings, journal, true));
    EXPECT_FALSE(StoreWindowMode(impossible, settings, journal, 0));
    EXPECT_EQ(Journaled(), std::vector<std::string>{std::string(kStoreFailedLine)});
}

// A school locks the settings by taking the file's write bits away; the program keeps its
// hands off such a file, also when it runs as the administrator.
TEST_F(SettingsFileTest, AFileWithoutWriteBitsIsNotWritten) {
    WriteFile(DefaultSettings());
    const Bytes locked = ReadFileBytes(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    journal.SetLevel(4);
    EXPECT_FALSE(StoreWindowMode(path, settings, journal, 1));
    EXPECT_FALSE(WriteWholeSettingsFile(path, DefaultSettings(), journal));
    EXPECT_EQ(ReadFileBytes(path), locked);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(Journaled(), (std::vector<std::string>{std::string(kStoreFailedLine),
                                                     "Problem z zapisem Test.ini."}));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Dziennik.txt", "Test.ini"}));
}

// A link to a shared settings file stays a link; its target gets the change.
TEST_F(SettingsFileTest, ALinkIsFollowedAndItsTargetReplaced) {
    const std::string target = folder.File("wspolne/Test.ini");
    ASSERT_TRUE(std::filesystem::create_directory(folder.File("wspolne")));
    Journal silent(clock);
    ASSERT_TRUE(WriteWholeSettingsFile(target, DefaultSettings(), silent));
    std::filesystem::create_symlink("wspolne/Test.ini", path);
    EXPECT_TRUE(StoreWindowMode(path, settings, journal, 1));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    Settings read;
    ASSERT_EQ(ReadSettingsFile(target, read), SettingsReadOutcome::Read);
    EXPECT_EQ(read.wo, 1);
}

// A temporary file left by a program stopped half-way through a write goes at the next start;
// one just made by a program still writing stays, and so do files of other names.
TEST_F(SettingsFileTest, StaleTemporaryFilesGoAtStart) {
    WriteFile(DefaultSettings());
    for (const char* name :
         {".Test.ini.a1B2c3", ".Test.ini.Zz9yY8", ".Test.ini.dlugaNazwa", "notatki"}) {
        WriteFileBytes(folder.File(name), BytesOf("x"));
    }
    const std::filesystem::file_time_type hourAgo =
        std::filesystem::last_write_time(path) - std::chrono::hours(1);
    for (const char* name : {".Test.ini.a1B2c3", ".Test.ini.dlugaNazwa", "notatki"}) {
        std::filesystem::last_write_time(folder.File(name), hourAgo);
    }
    EXPECT_EQ(Load(), SettingsLoadOutcome::Loaded);
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{".Test.ini.Zz9yY8", ".Test.ini.dlugaNazwa", "Test.ini",
                                        "notatki"}));
}

// Files may grow to `limit` bytes while the object lives, as on a nearly full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit reduced = old_;
        reduced.rlim_cur = limit;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &reduced), 0);
    }
    ~ScopedFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileWhole) {
    Settings values = DefaultSettings();
    values.sct = "/stary/zestaw.skg";
    WriteFile(values);
    ASSERT_EQ(Load(), SettingsLoadOutcome::Loaded);
    const Bytes old = ReadFileBytes(path);
    ASSERT_GT(old.size(), 200u);
    journal.SetLevel(4);
    {
        const ScopedFileSizeLimit full(150);  // the journal's lines still fit
        EXPECT_FALSE(StoreWindowMode(path, settings, journal, 1));
        EXPECT_FALSE(WriteWholeSettingsFile(path, DefaultSettings(), journal));
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(settings.wo, 1);
    EXPECT_EQ(Journaled(), (std::vector<std::string>{std::string(kStoreFailedLine),
                                                     "Problem z zapisem Test.ini."}));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Dziennik.txt", "Test.ini"}))
        << "no temporary file is left behind";
}

TEST(SettingsValues, ReadBackCheckCatchesWhatTheFileCannotHold) {
    const Settings defaults = DefaultSettings();
    for (std::string_view key : kSettingsKeys) {
        EXPECT_TRUE(SettingsValueReadsBack(defaults, key)) << key;
    }
    EXPECT_FALSE(SettingsValueReadsBack(defaults, "nieznany"));

    const struct {
        std::array<int, 5> thresholds;
        bool readsBack;
    } thresholds[] = {
        {{99, 85, 75, 50, 10}, true},
        {{95, 85, 75, 50, 5}, false},
        {{100, 85, 75, 50, 30}, false},
        {{95, 85, 75, 50, -5}, false},
    };
    for (const auto& c : thresholds) {
        Settings settings = defaults;
        settings.sk = c.thresholds;
        EXPECT_EQ(SettingsValueReadsBack(settings, "sk"), c.readsBack) << c.thresholds[4];
    }

    const struct {
        std::string path;
        bool readsBack;
    } paths[] = {
        {"/home/uczeń/Zestawy/Matematyka & fizyka <3>.skg", true},
        {"\\\\serwer\\testy\\lista.skg", true},
        {"/home/ucze\xC5/lista.skg", false},   // not UTF-8
        {"/home/学生/lista.skg", false},       // beyond Windows-1250
        {"/home/uczen/lista.skg ", false},     // trailing blanks are cut from element texts
        {"/" + std::string(600, 'a'), false},  // longer than a scrambled value holds
    };
    for (const auto& c : paths) {
        Settings settings = defaults;
        settings.sct = c.path;
        EXPECT_EQ(SettingsValueReadsBack(settings, "sct"), c.readsBack) << c.path;
    }
}

}  // namespace
}  // namespace oplix
