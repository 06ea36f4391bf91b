#include "storage/pkXMLText.h"

#include <array>
#include <bit>
#include <cstring>

#include "storage/Cp1250.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace oplix {
namespace {

using CodePageTable = std::array<char16_t, 256>;

const CodePageTable& Cp1250Table() {
    static const CodePageTable table = [] {
        CodePageTable made{};
        for (unsigned byte = 0; byte < made.size(); ++byte) {
            made[byte] = Cp1250ToChar(static_cast<unsigned char>(byte));
        }
        return made;
    }();
    return table;
}

void DecodeUtf16(const std::uint8_t* bytes, XMLText& text) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(text.units.get(), bytes, text.size * sizeof(char16_t));
    } else {
        for (std::size_t i = 0; i < text.size; ++i) {
            text.units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
    }
}

void DecodeCp1250(const std::uint8_t* bytes, XMLText& text) {
    const CodePageTable& table = Cp1250Table();
    std::size_t i = 0;
#if defined(__SSE2__)
    if constexpr (std::endian::native == std::endian::little) {
        // Sixteen bytes are widened at a time as if they were ASCII, most of a Polish text;
        // the few bytes above 127 are then looked up one by one.
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= text.size; i += 16) {
            __m128i chunk;
            std::memcpy(&chunk, bytes + i, sizeof chunk);
            const __m128i low = _mm_unpacklo_epi8(chunk, zero);
            const __m128i high = _mm_unpackhi_epi8(chunk, zero);
            std::memcpy(text.units.get() + i, &low, sizeof low);
            std::memcpy(text.units.get() + i + 8, &high, sizeof high);
            for (unsigned above = static_cast<unsigned>(_mm_movemask_epi8(chunk)); above != 0;
                 above &= above - 1) {
                const std::size_t j = i + static_cast<std::size_t>(std::countr_zero(above));
                text.units[j] = table[bytes[j]];
            }
        }
    }
#endif
    for (; i < text.size; ++i) {
        text.units[i] = table[bytes[i]];
    }
}

}  // namespace

XMLText DecodeXMLText(std::span<const std::uint8_t> bytes, bool unicode) {
    XMLText text;
    text.size = unicode ? (bytes.size() - 2) / 2 : bytes.size();
    text.units = std::make_unique_for_overwrite<char16_t[]>(text.size);
    if (unicode) {
        DecodeUtf16(bytes.data() + 2, text);
    } else {
        DecodeCp1250(bytes.data(), text);
    }
    return text;
}

XMLScan ScanXMLText(std::u16string_view text, std::size_t from, char16_t stop) {
    constexpr std::size_t kNone = std::u16string_view::npos;
    std::size_t ampersand = kNone;
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i stops = _mm_set1_epi16(static_cast<short>(stop));
    const __m128i ampersands = _mm_set1_epi16(static_cast<short>(u'&'));
    for (; i + 8 <= text.size(); i += 8) {
        __m128i chunk;
        std::memcpy(&chunk, text.data() + i, sizeof chunk);
        const __m128i isStop = _mm_cmpeq_epi16(chunk, stops);
        const __m128i isAmpersand = _mm_cmpeq_epi16(chunk, ampersands);
        if (_mm_movemask_epi8(_mm_or_si128(isStop, isAmpersand)) == 0) {
            continue;  // most chunks hold neither
        }
        const unsigned stopMask = static_cast<unsigned>(_mm_movemask_epi8(isStop));
        // Only ampersands before the first stop count; a stop mask of zero keeps them all.
        const unsigned beforeStop = stopMask == 0 ? ~0u : (stopMask & (0u - stopMask)) - 1;
        const unsigned ampersandMask =
            static_cast<unsigned>(_mm_movemask_epi8(isAmpersand)) & beforeStop;
        if (ampersand == kNone && ampersandMask != 0) {
            ampersand = i + static_cast<std::size_t>(std::countr_zero(ampersandMask)) / 2;
        }
        if (stopMask != 0) {
            return {i + static_cast<std::size_t>(std::countr_zero(stopMask)) / 2, ampersand};
        }
    }
#endif
    for (; i < text.size() && text[i] != stop; ++i) {
        if (text[i] == u'&' && ampersand == kNone) {
            ampersand = i;
        }
    }
    return {i, ampersand};
}

}  // namespace oplix
