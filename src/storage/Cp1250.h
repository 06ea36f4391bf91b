#pragma once

#include <string>
#include <string_view>

namespace oplix {

// Windows-1250, the 8-bit code page of every stored text. The table is lossless: the five
// bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the C1 control
// characters of the same value, so every byte 0-255 survives a round trip through UTF-16.

char16_t Cp1250ToChar(unsigned char byte);

// The byte for a character, or '?' when the code page cannot hold it.
unsigned char CharToCp1250(char16_t ch);

std::u16string Cp1250ToUtf16(std::string_view bytes);

// Characters the code page cannot hold become '?'; a surrogate pair becomes one '?'.
std::string Utf16ToCp1250(std::u16string_view text);

std::string Cp1250ToUtf8(std::string_view bytes);
std::string Utf8ToCp1250(std::string_view text);

}  // namespace oplix
