#pragma once

#include <ctime>
#include <string>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "formats/ResultRecord.h"
#include "formats/TestDocument.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

class Journal;
class MessageBoxPresenter;

// What the test session knows about the test just graded.
struct ResultSession {
    std::time_t startTime = 0;
    std::time_t endTime = 0;
    bool endedByTimeLimit = false;
    StartMode mode = StartMode::None;
    std::string surname;  // the chosen pupil, recorded only in the named modes
    std::string firstName;
};

// The time of day as the user's region writes the long time (strftime "%X" of the local time),
// UTF-8. In a locale that is not UTF-8, bytes outside ASCII become '?'.
std::string LongTimeOfDay(std::time_t when);

// The record as it stands now: the save time is taken from the clock.
ResultRecord GatherResultRecord(const TestDocument& test, const ResultSession& session,
                                const Clock& clock);

// The Selo0.xml member for the record: 8-bit text without declaration, every field but `cd`
// encoded. An error when a field cannot be written (a text that is not UTF-8).
Result<Bytes> BuildResultDocument(const ResultRecord& record);

// What a result write did: whether the document could be built, and the file it wrote (empty
// when nothing was written).
struct ResultWrite {
    bool built = false;
    std::string writtenPath;
};

// Writes the result file at `destination`. A file is first written whole under a temporary name
// in its folder and then linked into place, so no result is ever half-written or replaced. An
// existing file at `destination` (a retake) is kept, the new result is not written, and the
// journal says which file was kept. When that folder cannot take the file, the box says so and
// the result goes to the documents folder under the same file name, or, when that is taken,
// under the next free "NAME (2).sko", "NAME (3).sko" ...; the journal names the file written.
// When that fails too, the box and the journal say that nothing was saved.
ResultWrite WriteResult(const std::string& destination, const ResultRecord& record,
                        const std::string& documentsFolder, Journal& journal,
                        MessageBoxPresenter& box);

}  // namespace oplix
