#pragma once

#include <cstdint>
#include <vector>

namespace oplix {

// An owned byte buffer: archive members, file contents, encoded text.
using Bytes = std::vector<std::uint8_t>;

}  // namespace oplix
