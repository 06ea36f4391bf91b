#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace oplix {

// The lines of a stored text, bytes as they are: a line ends at CR LF, a lone CR or a lone LF,
// a zero byte ends the text, and a break at the very end opens no further line.
std::vector<std::string> SplitTextLines(std::span<const std::uint8_t> bytes);

}  // namespace oplix
