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

// Writes the result file at `destination`, or, when that folder cannot take it, under the same
// file name in the documents folder. A file is first written whole under a temporary name in
// its folder and then linked into place, so no result is ever half-written or replaced: an
// existing file, at either place, is kept and the result silently dropped. Failures are told
// through the box and, when both places fail, the journal. False only when the document could
// not be built.
bool WriteResult(const std::string& destination, const ResultRecord& record,
                 const std::string& documentsFolder, Journal& journal, MessageBoxPresenter& box);

}  // namespace oplix
