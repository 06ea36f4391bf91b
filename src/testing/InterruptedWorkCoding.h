#pragma once

#include <cstdint>
#include <span>

#include "storage/Bytes.h"
#include "storage/Result.h"
#include "testing/InterruptedWork.h"

namespace oplix {

// The record is "OPLIXPRZ", a 16-bit version, the payload's 32-bit length and CRC-32, then the
// payload: every field in a fixed order, integers little-endian, texts as a 32-bit length and
// their bytes. Anything else (another version, a wrong checksum, a cut record, a value out of
// range) is not a record.
inline constexpr std::uint16_t kInterruptedWorkVersion = 1;

Bytes EncodeInterruptedWork(const InterruptedWork& work);
Result<InterruptedWork> DecodeInterruptedWork(std::span<const std::uint8_t> bytes);

}  // namespace oplix
