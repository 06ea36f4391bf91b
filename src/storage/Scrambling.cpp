#include "storage/Scrambling.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "storage/Random.h"
#include "storage/ScrambleTables.h"

namespace oplix {
namespace {

constexpr unsigned char kEmptyMarker = 0xFE;
constexpr std::size_t kMinEmptyFillers = 3;
constexpr std::uint32_t kEmptyFillerChoices = 8;  // 3 to 10 fillers

struct Marker {
    unsigned char byte;
    std::size_t fillers;
};
// Every marker that is read; the writer chooses among the first three, 0x93 is only ever read.
constexpr std::array<Marker, 4> kMarkers = {{{0xA0, 2}, {0xA1, 3}, {0xA7, 4}, {0x93, 5}}};
constexpr std::uint32_t kWrittenMarkers = 3;

constexpr unsigned char kFirstFiller = 33;
constexpr std::uint32_t kFillerChoices = 200;  // 33 to 232

void AppendFillers(std::string& text, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(static_cast<char>(kFirstFiller + ProcessRandom().Below(kFillerChoices)));
    }
}

void AppendSubstituted(std::string& text, std::string_view bytes, const ByteTable& table) {
    for (char ch : bytes) {
        text.push_back(static_cast<char>(table[static_cast<unsigned char>(ch)]));
    }
}

Result<std::string> Scramble(std::string_view value, const ByteTable& encoding) {
    if (value.size() > kMaxScrambledValueSize) {
        return Error{0, "a value longer than 500 bytes cannot be scrambled"};
    }
    std::string text;
    if (value.empty()) {
        text.push_back(static_cast<char>(kEmptyMarker));
        AppendFillers(text, kMinEmptyFillers + ProcessRandom().Below(kEmptyFillerChoices));
        return text;
    }
    const Marker& marker = kMarkers[ProcessRandom().Below(kWrittenMarkers)];
    text.reserve(1 + marker.fillers + value.size());
    text.push_back(static_cast<char>(marker.byte));
    AppendFillers(text, marker.fillers);
    AppendSubstituted(text, value, encoding);
    return text;
}

// The part of a scrambled text that holds the value: after the marker and its fillers, at most
// 500 bytes; the whole text when it starts with no marker.
std::string_view Body(std::string_view scrambled) {
    const unsigned char first = static_cast<unsigned char>(scrambled.front());
    for (const Marker& marker : kMarkers) {
        if (first == marker.byte) {
            const std::size_t start = std::min(scrambled.size(), 1 + marker.fillers);
            return scrambled.substr(start, kMaxScrambledValueSize);
        }
    }
    return scrambled;
}

Result<std::string> Unscramble(std::string_view scrambled, const ByteTable& decoding) {
    if (scrambled.empty()) {
        return Error{0, "an empty text is not a scrambled value"};
    }
    if (static_cast<unsigned char>(scrambled.front()) == kEmptyMarker) {
        return std::string();
    }
    std::string value;
    const std::string_view body = Body(scrambled);
    value.reserve(body.size());
    AppendSubstituted(value, body, decoding);
    return value;
}

}  // namespace

Result<std::string> ScrambleText(std::string_view value) {
    return Scramble(value, kScrambleEncoding);
}

Result<std::string> ScrambleTestText(std::string_view value) {
    return Scramble(value, kTestEditor35Encoding);
}

Result<std::string> UnscrambleText(std::string_view scrambled) {
    return Unscramble(scrambled, kScrambleDecoding);
}

Result<std::string> UnscrambleTestText(std::string_view scrambled) {
    return Unscramble(scrambled, kTestText35Decoding);
}

}  // namespace oplix
