#pragma once

#include <cstdint>
#include <span>

namespace oplix {

// CRC-32 as zlib and PNG compute it (reflected polynomial 0xEDB88320): catches every burst of
// damage up to 32 bits in a record.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// 64-bit FNV-1a: tells one version of a file from another.
std::uint64_t Fnv1a64(std::span<const std::uint8_t> bytes);

}  // namespace oplix
