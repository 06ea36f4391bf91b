// Reads the input as a record of interrupted work. A record that reads has one form only: it
// must be the very bytes its work is written as.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "testing/InterruptedWorkCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const oplix::Result<oplix::InterruptedWork> work = oplix::DecodeInterruptedWork(input);
    if (!work) {
        return 0;
    }
    const oplix::Bytes again = oplix::EncodeInterruptedWork(*work);
    if (!std::equal(again.begin(), again.end(), input.begin(), input.end())) {
        std::abort();
    }
    return 0;
}
