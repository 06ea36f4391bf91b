#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/Bytes.h"
#include "storage/Cp1250.h"
#include "storage/Utf.h"

namespace oplix::testing_xml {

// The Windows-1250 bytes of a UTF-8 literal (8-bit documents).
inline Bytes Ansi(std::string_view utf8) {
    const std::string bytes = Utf8ToCp1250(utf8);
    return Bytes(bytes.begin(), bytes.end());
}

// UTF-16 little-endian code units of a UTF-8 literal, without a byte-order mark.
inline Bytes Utf16Units(std::string_view utf8) {
    Bytes bytes;
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// A UTF-16 document: FF FE and the code units.
inline Bytes Utf16Document(std::string_view utf8) {
    Bytes bytes{0xFF, 0xFE};
    const Bytes units = Utf16Units(utf8);
    bytes.insert(bytes.end(), units.begin(), units.end());
    return bytes;
}

inline void Append(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

inline std::string Utf8(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

}  // namespace oplix::testing_xml
