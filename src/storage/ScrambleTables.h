#pragma once

#include <array>
#include <cstdint>

namespace oplix {

// A byte substitution: the image of every byte value 0-255.
using ByteTable = std::array<std::uint8_t, 256>;

// Each table lists images for 132 byte values within 33-247 and maps every other byte to
// itself, so control bytes, the space and bytes 248-255 always pass unchanged, and no listed
// byte ever becomes a space or a control byte that trimming could cut from a stored value.

// Scrambles the settings values and the line-based lists.
extern const ByteTable kScrambleEncoding;
// The inverse of kScrambleEncoding.
extern const ByteTable kScrambleDecoding;
// The table with which the version-35 test editor scrambles the lines of a test description.
extern const ByteTable kTestEditor35Encoding;
// The inverse of kTestEditor35Encoding: reads version-35 test descriptions.
extern const ByteTable kTestText35Decoding;

}  // namespace oplix
