#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "storage/Result.h"

namespace oplix {

// Test.ini: an XML document whose element Ini holds one element per key. Each element's text
// is the key's value as text, in Windows-1250, scrambled with ScrambleText. Every function
// here keeps the journal's level equal to `dfpz` as soon as that field changes.

// The keys in the order the whole file is written.
inline constexpr std::array<std::string_view, 13> kSettingsKeys = {
    "ed", "sct", "scl", "al", "fn", "opl", "chl", "woc", "wz", "sk", "wo", "dfpz", "trc"};

// The header word every valid file holds in `ed`, compared with its letter case.
inline constexpr std::string_view kSettingsHeader = "Probex";

enum class SettingsLoadOutcome {
    Loaded,          // every key read from the file
    CreatedMissing,  // there was no file; defaults written
    WrongHeader,     // `ed` read back as another word; defaults written
    Damaged,         // the file could not be read; defaults written
};

// Reads the file into `settings`. A missing, wrong-headed or damaged file gets an information
// box, its journal line and a new file with the defaults, which `settings` then holds.
SettingsLoadOutcome LoadSettings(const std::string& path, Settings& settings, Journal& journal,
                                 MessageBoxPresenter& messages);

enum class SettingsReadOutcome {
    Read,         // every key read from the file
    Missing,      // there is no file
    WrongHeader,  // `ed` reads back as another word
    Damaged,      // the file cannot be read as settings
};

// Reads the file as LoadSettings does, but shows nothing, journals nothing and writes nothing.
// `settings` changes only when every key was read.
SettingsReadOutcome ReadSettingsFile(const std::string& path, Settings& settings);

// Start-up raises a copy method of 0 or less, read or not, to 1.
void RaiseCopyMethodForStartUp(Settings& settings);

// Writes every key into a new document that replaces the file, then the journal line of the
// outcome. True on success.
bool WriteWholeSettingsFile(const std::string& path, const Settings& settings, Journal& journal);

void ResetSettingsToDefaults(Settings& settings);

// Each puts the value into `settings`, then stores that one key in the file, keeping the other
// elements, their order and the file's encoding (a missing file becomes one holding only Ini
// and the key), and journals the outcome. The value in memory stays changed on failure too.
// True when the file was updated.
bool StoreWindowMode(const std::string& path, Settings& settings, Journal& journal, int mode);
// The journal line of this change is filtered with the new level.
bool StoreJournalLevel(const std::string& path, Settings& settings, Journal& journal, int level);
bool StoreCopyMethod(const std::string& path, Settings& settings, Journal& journal, int method);
bool StoreLegendShown(const std::string& path, Settings& settings, Journal& journal, bool shown);

// The key's value in `settings` as text, before scrambling (UTF-8); "Probex" for `ed`, empty
// for an unknown key.
std::string SettingsKeyText(const Settings& settings, std::string_view key);

// True when the value `settings` holds for `key` would be written and read back as the same
// value: thresholds must lie within 10..99, texts must survive Windows-1250, the scrambling
// and the XML text. False for an unknown key.
bool SettingsValueReadsBack(const Settings& settings, std::string_view key);

// Puts into `settings` the value the file's reader makes of `text`, the key's text before
// scrambling (UTF-8). Refuses, leaving `settings` as it was, an unknown key, the header `ed`, a
// text that would not be written back as itself (a flag other than 0 or 1, a sign or leading
// zero on a number, `sk` not ten digits, a character Windows-1250 cannot hold), a threshold
// outside 10..99, a window mode other than 0 or 1, a journal level outside 0..4 and a copy
// method outside 1..4.
Status ParseSettingsKeyText(Settings& settings, std::string_view key, std::string_view text);

// Parses `text` as ParseSettingsKeyText does, then stores the key as its own Store function
// above does, journal lines and all. A key that has no Store function of its own is stored the
// same way and journals only a failure. A refused text writes nothing and changes nothing.
Status StoreSettingsKey(const std::string& path, Settings& settings, Journal& journal,
                        std::string_view key, std::string_view text);

}  // namespace oplix
