#include "app/SettingsFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <variant>

#include "app/FileReplacement.h"
#include "storage/Cp1250.h"
#include "storage/FileOperations.h"
#include "storage/Scrambling.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr std::u16string_view kIniElement = u"Ini";

// Where a key's value lives in Settings; the header `ed` is not kept in memory.
struct HeaderKey {};
using SettingsField = std::variant<HeaderKey, std::string Settings::*, bool Settings::*,
                                   std::array<int, 5> Settings::*, int Settings::*>;

struct KeyField {
    std::string_view name;
    SettingsField field;
};

const std::array<KeyField, 13> kKeyFields = {{
    {"ed", HeaderKey{}},
    {"sct", &Settings::sct},
    {"scl", &Settings::scl},
    {"al", &Settings::al},
    {"fn", &Settings::fn},
    {"opl", &Settings::opl},
    {"chl", &Settings::chl},
    {"woc", &Settings::woc},
    {"wz", &Settings::wz},
    {"sk", &Settings::sk},
    {"wo", &Settings::wo},
    {"dfpz", &Settings::dfpz},
    {"trc", &Settings::trc},
}};

const KeyField* FindKeyField(std::string_view name) {
    for (const KeyField& key : kKeyFields) {
        if (key.name == name) {
            return &key;
        }
    }
    return nullptr;
}

constexpr std::size_t kThresholdDigits = 2;
constexpr int kLowestThreshold = 10;
constexpr int kHighestThreshold = 99;

// An optional sign and decimal digits that fit in 32 bits.
std::optional<int> ParseWholeNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + (ch - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// The value as text, before it is converted to Windows-1250 and scrambled (UTF-8).
std::string FieldText(const Settings& settings, const SettingsField& field) {
    struct Visitor {
        const Settings& settings;
        std::string operator()(HeaderKey) const { return std::string(kSettingsHeader); }
        std::string operator()(std::string Settings::*text) const { return settings.*text; }
        std::string operator()(bool Settings::*flag) const { return settings.*flag ? "1" : "0"; }
        std::string operator()(std::array<int, 5> Settings::*thresholds) const {
            std::string text;
            for (int threshold : settings.*thresholds) {
                text += std::to_string(threshold);
            }
            return text;
        }
        std::string operator()(int Settings::*number) const {
            return std::to_string(settings.*number);
        }
    };
    return std::visit(Visitor{settings}, field);
}

// Puts an unscrambled value (Windows-1250, none when the element could not be unscrambled)
// into its field. False when the file counts as damaged; integers never fail, they read as 0.
bool ReadField(const std::optional<std::string>& stored, const SettingsField& field,
               Settings& settings) {
    struct Visitor {
        const std::optional<std::string>& stored;
        Settings& settings;
        bool operator()(HeaderKey) const { return stored.has_value(); }
        bool operator()(std::string Settings::*text) const {
            if (!stored) {
                return false;
            }
            settings.*text = Cp1250ToUtf8(*stored);
            return true;
        }
        bool operator()(bool Settings::*flag) const {
            if (!stored) {
                return false;
            }
            settings.*flag = *stored == "1";
            return true;
        }
        bool operator()(std::array<int, 5> Settings::*thresholds) const {
            if (!stored) {
                return false;
            }
            const std::string_view text = *stored;
            for (std::size_t i = 0; i < (settings.*thresholds).size(); ++i) {
                const std::size_t start = std::min(i * kThresholdDigits, text.size());
                const std::optional<int> value =
                    ParseWholeNumber(text.substr(start, kThresholdDigits));
                if (!value) {
                    return false;
                }
                (settings.*thresholds)[i] = *value;
            }
            return true;
        }
        bool operator()(int Settings::*number) const {
            settings.*number = stored ? ParseWholeNumber(*stored).value_or(0) : 0;
            return true;
        }
    };
    return std::visit(Visitor{stored, settings}, field);
}

TpkXMLNode& IniElement(TpkXML& document) {
    return *document.FindTopNode(kIniElement, true);
}

TpkXMLNode& KeyElement(TpkXMLNode& ini, std::string_view key) {
    return *ini.FindChild(Utf8ToUtf16(key), true);
}

// The element's text unscrambled, in Windows-1250; none for an empty (or just created) element.
std::optional<std::string> ReadStored(TpkXMLNode& ini, std::string_view key) {
    Result<std::string> value = UnscrambleText(Utf16ToCp1250(KeyElement(ini, key).Text));
    if (!value) {
        return std::nullopt;
    }
    return std::move(value).value();
}

bool PutStored(TpkXMLNode& ini, const KeyField& key, const Settings& settings) {
    const Result<std::string> scrambled =
        ScrambleText(Utf8ToCp1250(FieldText(settings, key.field)));
    if (!scrambled) {
        return false;
    }
    // A value is an element's text: a node of the key's name of another kind, such as raw
    // data, would be written back without it, and the value silently lost.
    TpkXMLNode& element = KeyElement(ini, key.name);
    element.Kind = TpkXMLKind::Element;
    element.Data.clear();
    element.Text = Cp1250ToUtf16(*scrambled);
    return true;
}

bool IsMissingFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

void SetJournalLevel(const Settings& settings, Journal& journal) {
    journal.SetLevel(settings.dfpz);
}

// Reads every key after the header, in file order; false at the first that damages the file.
bool ReadKeysAfterHeader(TpkXMLNode& ini, Settings& settings) {
    for (const KeyField& key : kKeyFields) {
        if (std::holds_alternative<HeaderKey>(key.field)) {
            continue;
        }
        if (!ReadField(ReadStored(ini, key.name), key.field, settings)) {
            return false;
        }
    }
    return true;
}

void ReplaceWithDefaults(const std::string& path, Settings& settings, Journal& journal) {
    ResetSettingsToDefaults(settings);
    SetJournalLevel(settings, journal);
    WriteWholeSettingsFile(path, settings, journal);
}

void ShowInformation(MessageBoxPresenter& messages, std::string_view text) {
    messages.ShowMessageBox(MessageKind::Close, MessageIcon::Information, text);
}

// Whether the written form reads every key as the document holds it. Raw data, for one,
// survives only in UTF-16 files: an 8-bit file holding some would be written damaged.
bool ReadsBackAsWritten(TpkXML& document, std::span<const std::uint8_t> bytes) {
    TpkXML reread;
    if (!reread.LoadFromBytes(bytes)) {
        return false;
    }
    return std::all_of(kKeyFields.begin(), kKeyFields.end(), [&](const KeyField& key) {
        return ReadStored(IniElement(reread), key.name) ==
               ReadStored(IniElement(document), key.name);
    });
}

// Reads the file, sets the key's element and writes the document back in the form it was
// read; a form that would not read back is not written, and the file stays as it was.
Status StoreKey(const std::string& path, const Settings& settings, std::string_view name) {
    TpkXML document;
    if (!IsMissingFile(path) && !document.LoadFromFile(path)) {
        return Error{0, "cannot read " + path};
    }
    const KeyField* key = FindKeyField(name);
    if (key == nullptr || !PutStored(IniElement(document), *key, settings)) {
        return Error{0, "cannot store " + std::string(name)};
    }
    const Bytes bytes = document.SaveToBytes();
    if (!ReadsBackAsWritten(document, bytes)) {
        return Error{0, "the file would not read back with " + std::string(name) + " stored"};
    }
    return ReplaceFileContents(path, bytes);
}

constexpr std::string_view kStoreFailed = "Problem z zapisem zmiany ustawień do ini.";

// The values the program itself can set or act on for its integer keys.
struct AcceptedRange {
    int Settings::*number;
    int lowest;
    int highest;
};

const std::array<AcceptedRange, 3> kAcceptedRanges = {{
    {&Settings::wo, 0, 1},
    {&Settings::dfpz, 0, 4},
    {&Settings::trc, kCopyReplacing, kCopyVerified},
}};

const AcceptedRange* FindAcceptedRange(const SettingsField& field) {
    const auto* number = std::get_if<int Settings::*>(&field);
    for (const AcceptedRange& range : kAcceptedRanges) {
        if (number != nullptr && *number == range.number) {
            return &range;
        }
    }
    return nullptr;
}

bool WithinAcceptedRange(const Settings& settings, const SettingsField& field) {
    const AcceptedRange* range = FindAcceptedRange(field);
    return range == nullptr ||
           (settings.*range->number >= range->lowest && settings.*range->number <= range->highest);
}

// What a key takes, for the refusal of a text it cannot hold.
std::string AcceptedTexts(const SettingsField& field) {
    if (const AcceptedRange* range = FindAcceptedRange(field)) {
        return "a whole number from " + std::to_string(range->lowest) + " to " +
               std::to_string(range->highest);
    }
    if (std::holds_alternative<bool Settings::*>(field)) {
        return "0 or 1";
    }
    if (std::holds_alternative<std::array<int, 5> Settings::*>(field)) {
        return "five thresholds of two digits, each 10 to 99, back to back (9585755030)";
    }
    return "a text of at most " + std::to_string(kMaxScrambledValueSize) +
           " characters, each one that Windows-1250 holds";
}

// Stores a key the program itself never changes; only a failure is journalled.
bool StoreReadOnlyKey(const std::string& path, const Settings& settings, Journal& journal,
                      std::string_view key) {
    if (!StoreKey(path, settings, key)) {
        journal.Write(kJournalWarnings, kStoreFailed);
        return false;
    }
    return true;
}

}  // namespace

SettingsReadOutcome ReadSettingsFile(const std::string& path, Settings& settings) {
    if (IsMissingFile(path)) {
        return SettingsReadOutcome::Missing;
    }
    TpkXML document;
    if (!document.LoadFromFile(path)) {
        return SettingsReadOutcome::Damaged;
    }
    TpkXMLNode& ini = IniElement(document);
    const std::optional<std::string> header = ReadStored(ini, "ed");
    if (!header) {
        return SettingsReadOutcome::Damaged;
    }
    if (*header != kSettingsHeader) {
        return SettingsReadOutcome::WrongHeader;
    }
    Settings read = settings;
    if (!ReadKeysAfterHeader(ini, read)) {
        return SettingsReadOutcome::Damaged;
    }
    settings = read;
    return SettingsReadOutcome::Read;
}

SettingsLoadOutcome LoadSettings(const std::string& path, Settings& settings, Journal& journal,
                                 MessageBoxPresenter& messages) {
    RemoveStaleReplacements(path, std::time(nullptr));
    switch (ReadSettingsFile(path, settings)) {
        case SettingsReadOutcome::Missing:
            ShowInformation(messages,
                            "Plik ustawień nie istnieje. Utworzono plik z ustawieniami domyślymi.");
            ReplaceWithDefaults(path, settings, journal);
            journal.Write(kJournalWarnings, "Plik ini nie istnieje. Utworzono domyślny plik ini.");
            return SettingsLoadOutcome::CreatedMissing;
        case SettingsReadOutcome::WrongHeader:
            ShowInformation(
                messages,
                "Plik ustawień jest uszkodzony. Utworzono nowy plik z ustawieniami domyślym.");
            journal.Write(kJournalErrors, "Błędny nagłówek pliku ini lub plik uszkodzony.");
            ReplaceWithDefaults(path, settings, journal);
            return SettingsLoadOutcome::WrongHeader;
        case SettingsReadOutcome::Read:
            SetJournalLevel(settings, journal);
            journal.Write(kJournalRoutine, "Poprawnie wczytano plik Test.ini.");
            return SettingsLoadOutcome::Loaded;
        case SettingsReadOutcome::Damaged:
            break;
    }
    ShowInformation(messages,
                    "Plik ustawień jest uszkodzony. Utwórzono nowy plik z ustawieniami domyślym.");
    journal.Write(kJournalErrors, "Uszkodzony plik Test.ini. Błąd odczytu.");
    ReplaceWithDefaults(path, settings, journal);
    return SettingsLoadOutcome::Damaged;
}

void RaiseCopyMethodForStartUp(Settings& settings) {
    if (settings.trc <= 0) {
        settings.trc = 1;
    }
}

bool WriteWholeSettingsFile(const std::string& path, const Settings& settings, Journal& journal) {
    TpkXML document;
    TpkXMLNode& ini = IniElement(document);
    bool built = true;
    for (const KeyField& key : kKeyFields) {
        built = built && PutStored(ini, key, settings);
    }
    if (!built || !ReplaceFileContents(path, document.SaveToBytes())) {
        journal.Write(kJournalFileOperations, "Problem z zapisem Test.ini.");
        return false;
    }
    journal.Write(kJournalRoutine, "Zapisano nowy plik Test.ini.");
    return true;
}

void ResetSettingsToDefaults(Settings& settings) {
    settings.sct.clear();
    settings.scl.clear();
    settings.al = true;
    settings.fn = false;
    settings.opl = true;
    settings.chl = true;
    settings.woc = false;
    settings.wz = true;
    settings.sk = {95, 85, 75, 50, 30};
    settings.wo = 0;
    settings.dfpz = 2;
    settings.trc = 1;
}

bool StoreWindowMode(const std::string& path, Settings& settings, Journal& journal, int mode) {
    settings.wo = mode;
    if (!StoreKey(path, settings, "wo")) {
        journal.Write(kJournalWarnings, kStoreFailed);
        return false;
    }
    journal.Write(kJournalRoutine, "Zmieniono w ini wielkość okna.");
    return true;
}

bool StoreJournalLevel(const std::string& path, Settings& settings, Journal& journal, int level) {
    settings.dfpz = level;
    SetJournalLevel(settings, journal);
    if (!StoreKey(path, settings, "dfpz")) {
        journal.Write(kJournalWarnings, kStoreFailed);
        return false;
    }
    journal.Write(kJournalWarnings,
                  "Zmieniono poziom zdarzen. Aktualny poziom, to: " + std::to_string(level));
    return true;
}

bool StoreCopyMethod(const std::string& path, Settings& settings, Journal& journal, int method) {
    settings.trc = method;
    if (!StoreKey(path, settings, "trc")) {
        journal.Write(kJournalWarnings, kStoreFailed);
        return false;
    }
    journal.Write(kJournalWarnings,
                  "Zmieniono tryb kopiowania. Aktualny tryb, to: " + std::to_string(method));
    return true;
}

bool StoreLegendShown(const std::string& path, Settings& settings, Journal& journal, bool shown) {
    settings.opl = shown;
    if (!StoreKey(path, settings, "opl")) {
        journal.Write(kJournalFileOperations, kStoreFailed);
        return false;
    }
    journal.Write(kJournalRoutine, "Zmieniono widok legendy.");
    return true;
}

std::string SettingsKeyText(const Settings& settings, std::string_view key) {
    const KeyField* field = FindKeyField(key);
    return field == nullptr ? std::string() : FieldText(settings, field->field);
}

bool SettingsValueReadsBack(const Settings& settings, std::string_view key) {
    const KeyField* field = FindKeyField(key);
    if (field == nullptr) {
        return false;
    }
    if (std::holds_alternative<std::array<int, 5> Settings::*>(field->field)) {
        for (int threshold : settings.sk) {
            if (threshold < kLowestThreshold || threshold > kHighestThreshold) {
                return false;
            }
        }
    }
    TpkXML written;
    if (!PutStored(IniElement(written), *field, settings)) {
        return false;
    }
    TpkXML reread;
    if (!reread.LoadFromBytes(written.SaveToBytes())) {
        return false;
    }
    Settings back;
    const std::optional<std::string> stored = ReadStored(IniElement(reread), key);
    return stored && ReadField(stored, field->field, back) &&
           (std::holds_alternative<HeaderKey>(field->field)
                ? *stored == kSettingsHeader
                : FieldText(back, field->field) == FieldText(settings, field->field));
}

Status ParseSettingsKeyText(Settings& settings, std::string_view key, std::string_view text) {
    const KeyField* field = FindKeyField(key);
    if (field == nullptr) {
        return Error{0, "no setting is named " + std::string(key)};
    }
    if (std::holds_alternative<HeaderKey>(field->field)) {
        return Error{0, "ed is the file's header word, not a setting"};
    }
    Settings parsed = settings;
    const bool readsAsGiven = ReadField(Utf8ToCp1250(text), field->field, parsed) &&
                              FieldText(parsed, field->field) == text;
    if (!readsAsGiven || !WithinAcceptedRange(parsed, field->field) ||
        !SettingsValueReadsBack(parsed, key)) {
        return Error{0, std::string(key) + " takes " + AcceptedTexts(field->field) + ", not \"" +
                            std::string(text) + "\""};
    }
    settings = parsed;
    return Success();
}

Status StoreSettingsKey(const std::string& path, Settings& settings, Journal& journal,
                        std::string_view key, std::string_view text) {
    Settings parsed = settings;
    if (Status accepted = ParseSettingsKeyText(parsed, key, text); !accepted) {
        return accepted;
    }
    bool stored = false;
    if (key == "wo") {
        stored = StoreWindowMode(path, settings, journal, parsed.wo);
    } else if (key == "dfpz") {
        stored = StoreJournalLevel(path, settings, journal, parsed.dfpz);
    } else if (key == "trc") {
        stored = StoreCopyMethod(path, settings, journal, parsed.trc);
    } else if (key == "opl") {
        stored = StoreLegendShown(path, settings, journal, parsed.opl);
    } else {
        settings = parsed;
        stored = StoreReadOnlyKey(path, settings, journal, key);
    }
    if (!stored) {
        return Error{0, "cannot write " + path};
    }
    return Success();
}

}  // namespace oplix
