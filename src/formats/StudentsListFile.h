#pragma once

#include <string>

#include "formats/StudentsList.h"
#include "storage/Result.h"

namespace oplix {

class Clock;
class Journal;
struct CurrentChoice;

// Reads a students list (.sku): a version-35 list (member Selu0.txp naming one member per
// class, scrambled lines) or a version-40 one (member Selu0.xml). The list is reset first, its
// date to today's local date (yyyy-mm-dd); the class and pupil index of `choice` are set to -1
// and, while a version-35 list is read, mark the class and pupil slot being filled. On failure
// the journal has the reason; the caller tells the pupil. The archive is opened and closed
// within the call.
//
// A class of more than kMaxPupils pupils keeps the first ones and the journal says so (level 1);
// a negative pupil or class count reads as none; a version-35 pupil line that holds no name is
// skipped. A version-40 list that declares more classes than its root has elements is refused
// as damaged, so a huge ilk cannot make the reader allocate without bound.
bool ReadStudentsList(const std::string& path, StudentsList& list, CurrentChoice& choice,
                      Journal& journal, const Clock& clock);

// Writes the list as version 40: plain or encoded fields, an 8-bit or UTF-16 document. Only the
// pupils in use are stored. Fails for a list that would not read back the same: classCount
// other than the number of classes, a pupil count outside 0 .. kMaxPupils, or a plain value the
// document cannot hold (surrounding blanks; outside Windows-1250 in 8 bits).
Status WriteStudentsList40(const std::string& path, const StudentsList& list, bool encoded,
                           bool utf16);

// Writes the classes and pupils as version 35, class N in member "klN.txp". The header fields,
// the entry count and the classes' scales have no place there. Fails for a value that a
// scrambled line cannot hold and for a pupil whose names would not split back: a first name
// with a space, a name with surrounding blanks, a surname over 100 characters, or no name.
Status WriteStudentsList35(const std::string& path, const StudentsList& list);

}  // namespace oplix
