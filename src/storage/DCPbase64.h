#pragma once

#include <span>
#include <string>
#include <string_view>

#include "storage/Bytes.h"

namespace oplix {

// Base64 with the standard alphabet and "=" padding, never with line breaks: every group of
// three bytes gives four characters, 4 * ceil(n / 3) characters in all.
std::string Base64Encode(std::span<const std::uint8_t> bytes);

// Decodes whole groups of four characters; 1 to 3 characters after the last whole group are
// ignored. A group whose third character is "=" gives one byte, one whose fourth is "=" gives
// two, so padding inside the text shortens only its own group. No character is skipped: a
// character outside the alphabet (white space included) counts as the value 0.
Bytes Base64Decode(std::string_view text);

// The base64 form of the text's UTF-16 little-endian bytes, two per character.
std::u16string EncodeText16(std::u16string_view text);

// Reads the decoded bytes as UTF-16 little-endian characters; an odd last byte is dropped.
// A character outside ASCII counts as outside the alphabet.
std::u16string DecodeText16(std::u16string_view base64);

}  // namespace oplix
