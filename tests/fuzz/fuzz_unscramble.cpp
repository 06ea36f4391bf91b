// Unscrambles arbitrary bytes with both tables, then checks that the value survives scrambling
// again, or is refused as too long to.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/Random.h"
#include "storage/Scrambling.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

using Unscrambler = oplix::Result<std::string> (*)(std::string_view);
using Scrambler = oplix::Result<std::string> (*)(std::string_view);

void CheckOne(std::string_view input, Unscrambler unscramble, Scrambler scramble) {
    const oplix::Result<std::string> value = unscramble(input);
    Check(value.ok() == !input.empty());
    if (!value.ok()) {
        return;
    }
    Check(value->size() <= input.size());
    const unsigned char first = static_cast<unsigned char>(input.front());
    const bool marked = first == 0xA0 || first == 0xA1 || first == 0xA7 || first == 0x93;
    Check(!marked || value->size() <= oplix::kMaxScrambledValueSize);
    Check(first != 0xFE || value->empty());

    const oplix::Result<std::string> again = scramble(*value);
    Check(again.ok() == (value->size() <= oplix::kMaxScrambledValueSize));
    if (!again.ok()) {
        return;
    }
    Check(again->size() >= 4);
    const oplix::Result<std::string> back = unscramble(*again);
    Check(back.ok() && *back == *value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    oplix::SeedProcessRandom(size);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckOne(input, oplix::UnscrambleText, oplix::ScrambleText);
    CheckOne(input, oplix::UnscrambleTestText, oplix::ScrambleTestText);
    return 0;
}
