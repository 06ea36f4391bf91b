#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace oplix {

// The 16-bit text of a whole document. Its buffer is not zeroed before decoding, a pass that
// would cost about as much as the decoding itself.
struct XMLText {
    std::unique_ptr<char16_t[]> units;
    std::size_t size = 0;

    std::u16string_view View() const { return {units.get(), size}; }
};

// With `unicode`, UTF-16 little-endian after the mark FF FE that `bytes` starts with (an odd last
// byte is ignored); otherwise Windows-1250, one character per byte.
XMLText DecodeXMLText(std::span<const std::uint8_t> bytes, bool unicode);

struct XMLScan {
    std::size_t stop;       // the first `stop` character at or after `from`, or the text's size
    std::size_t ampersand;  // the first '&' between `from` and `stop`, or npos
};

// Text between tags is most of a document, so it is scanned several characters at a time,
// looking for its end and for entities in the same pass.
XMLScan ScanXMLText(std::u16string_view text, std::size_t from, char16_t stop);

}  // namespace oplix
