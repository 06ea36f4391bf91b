#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "app/Clock.h"

namespace oplix {

class JournalTimeFormat;

// The levels of journal lines. A line is written when the configured level reaches its own, so
// errors are always written; the configured level is stored in the settings as this number.
inline constexpr int kJournalErrors = 0;
inline constexpr int kJournalWarnings = 1;
inline constexpr int kJournalFileOperations = 2;
inline constexpr int kJournalRoutine = 3;

// The event journal Dziennik.txt: one line per event, the message, " - ", the local date and
// time, CR LF. A message of level L (0 errors, 1 warnings, 2 file operations, 3 routine) is
// written when the configured level is at least L. Writing never fails towards the caller.
class Journal {
public:
    Journal();  // on the system clock
    explicit Journal(const Clock& clock);

    // Until a file is set nothing is written; until the settings are loaded the level is 0.
    void SetFile(std::string path);
    void SetLevel(int level);
    int Level() const { return level_; }

    // `message` is UTF-8; the file holds Windows-1250.
    void Write(int level, std::string_view message);

private:
    const Clock* clock_;
    std::string path_;
    int level_ = 0;
    // The user's locale, made at the first line written: making it costs about a millisecond.
    std::shared_ptr<const JournalTimeFormat> timeFormat_;
    // Whether the file is known to end with a whole line: looked at before the first line and
    // after a line that could not be written whole. Not before every line, since another
    // writer's line may be seen half-way through.
    bool endsWithWholeLine_ = false;
};

// The date and the time of `moment` as the journal writes them, in UTF-8.
std::string JournalDate(std::time_t moment);
std::string JournalTime(std::time_t moment);

}  // namespace oplix
