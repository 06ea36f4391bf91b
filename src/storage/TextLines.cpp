#include "storage/TextLines.h"

#include <algorithm>

namespace oplix {

std::vector<std::string> SplitTextLines(std::span<const std::uint8_t> bytes) {
    const auto* end = std::find(bytes.data(), bytes.data() + bytes.size(), std::uint8_t{0});
    std::vector<std::string> lines;
    const auto* at = bytes.data();
    while (at != end) {
        const auto* lineEnd =
            std::find_if(at, end, [](std::uint8_t b) { return b == '\r' || b == '\n'; });
        lines.emplace_back(at, lineEnd);
        at = lineEnd;
        if (at != end && *at++ == '\r' && at != end && *at == '\n') {
            ++at;  // CR LF is one break
        }
    }
    return lines;
}

}  // namespace oplix
