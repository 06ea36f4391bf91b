#pragma once

#include <span>
#include <string>

#include "formats/TestDocument.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

class TpkXML;

// Writes tests as the test editors make them, so that tests, tools and sample data have files
// to read. Writing is the inverse of reading: a written document reads back the same, apart
// from the answers' on-screen order, which every read draws anew. Texts are UTF-8.

// A picture or text member that questions name, stored beside the description.
struct TestMember {
    std::string name;
    Bytes bytes;
};

struct Test40Options {
    bool encoded = false;  // every field but the mark "cd" holds base64 of its UTF-16 text
    bool utf16 = false;    // the XML text is UTF-16 with a byte-order mark, else Windows-1250
};

// The version-40 description: questions 1 .. questionCount, the thresholds only when the
// document brings its own (gradingSource Test). Fails on a question count above 45 or a field
// that cannot be written. `xml` is expected empty.
Status BuildTest40Description(const TestDocument& document, const Test40Options& options,
                              TpkXML& xml);

// The version-35 description: scrambled lines ending in CR LF, with the fields that version
// has (no fifth answer, time limit, thresholds, date or remarks). Fails on a question count
// above 45, or a value that is too long for a scrambled line or holds a line break or a
// zero byte, since it would not read back.
Result<Bytes> BuildTest35Description(const TestDocument& document);

// Creates the archive with the members in this order.
Status WriteTestArchive(const std::string& path, std::span<const TestMember> members);

Status WriteTest40(const std::string& path, const TestDocument& document,
                   const Test40Options& options, std::span<const TestMember> extraMembers = {});
Status WriteTest35(const std::string& path, const TestDocument& document,
                   std::span<const TestMember> extraMembers = {});

}  // namespace oplix
