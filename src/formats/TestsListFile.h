#pragma once

#include <string>

#include "formats/TestsList.h"
#include "storage/Result.h"

namespace oplix {

class Journal;
class MessageBoxPresenter;

// Reads a tests list (.skg): a version-35 list (member Selt0.txp, scrambled lines) or a
// version-40 one (member Selt0.xml). The list is reset first. On failure the journal has the
// reason and, for a damaged description, the box has told the pupil; the caller then reports
// that the list cannot be opened. The archive is opened and closed within the call.
//
// A version-40 list that declares more entries than its root has elements is refused as
// damaged, so a huge ilw can neither hang the reader nor make it allocate without bound.
bool ReadTestsList(const std::string& path, TestsList& list, Journal& journal,
                   MessageBoxPresenter& messages);

// Writes the list as version 40: plain or encoded fields, an 8-bit or UTF-16 document. Fails
// for a list that would not read back the same: a plain value that the document cannot hold
// (surrounding blanks; outside Windows-1250 in 8 bits), or more empty entries than the
// document has other elements (an empty element is not stored).
Status WriteTestsList40(const std::string& path, const TestsList& list, bool encoded, bool utf16);

// Writes the entries as version 35; the header fields have no place there. Fails for an entry
// that a scrambled line cannot hold.
Status WriteTestsList35(const std::string& path, const TestsList& list);

}  // namespace oplix
