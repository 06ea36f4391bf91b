#pragma once

#include <string>
#include <string_view>

namespace oplix {

inline bool IsHighSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// Malformed UTF-8 and unpaired surrogates become U+FFFD; nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace oplix
