#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "storage/Result.h"

namespace oplix {

// Scrambled texts keep stored values unreadable to a casual eye. All texts here are 8-bit
// Windows-1250 bytes. A scrambled value is a marker byte (0xA0, 0xA1 or 0xA7; 0x93 is also
// read) followed by 2, 3, 4 or 5 random filler bytes, then the value's bytes, each replaced
// through a substitution table. The empty value is 0xFE followed by 3 to 10 filler bytes.
// Filler bytes and the marker are drawn from ProcessRandom().

// Unscrambling keeps at most this many bytes of a marked value.
inline constexpr std::size_t kMaxScrambledValueSize = 500;

// Scrambles with kScrambleEncoding; the result differs from call to call. A value longer than
// kMaxScrambledValueSize fails, because it would not read back whole.
Result<std::string> ScrambleText(std::string_view value);

// Scrambles as the version-35 test editor does, with kTestEditor35Encoding. The program never
// writes such a test; this builds fixtures for the readers. Fails as ScrambleText does.
Result<std::string> ScrambleTestText(std::string_view value);

// Undoes ScrambleText. The only failure is an empty text, which is never a scrambled form. A
// marked body is cut to kMaxScrambledValueSize bytes; a text without a marker is decoded whole;
// a damaged text gives a wrong value, not an error.
Result<std::string> UnscrambleText(std::string_view scrambled);

// Undoes ScrambleTestText, with kTestText35Decoding; otherwise as UnscrambleText.
Result<std::string> UnscrambleTestText(std::string_view scrambled);

}  // namespace oplix
