#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/ResultRecord.h"
#include "storage/Result.h"

namespace oplix {

// Reads a result file back into its record. The fields are decoded when `cd` holds "tr" and
// read as plain text otherwise. An error says what is wrong: the file is not a PACK archive,
// has no Selo0.xml member, holds damaged XML or no root element odp, or a field cannot be
// decoded, is not an integer, or is out of range (the question count beyond 0 to 45, a flag
// string other than five '0' or '1', an ended-by-time-limit mark other than "0" or "1").
Result<ResultRecord> ReadResult(const std::string& path);

// The same for the bytes of the Selo0.xml member.
Result<ResultRecord> ReadResultDocument(std::span<const std::uint8_t> document);

}  // namespace oplix
