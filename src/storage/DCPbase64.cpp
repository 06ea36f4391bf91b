#include "storage/DCPbase64.h"

#include <array>

namespace oplix {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';

constexpr std::array<std::uint8_t, 256> MakeSextetTable() {
    std::array<std::uint8_t, 256> table{};  // outside the alphabet: 0
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kSextets = MakeSextetTable();

std::uint32_t Sextet(char ch) {
    return kSextets[static_cast<unsigned char>(ch)];
}

}  // namespace

std::string Base64Encode(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        text.push_back(kAlphabet[(group >> 18) & 0x3F]);
        text.push_back(kAlphabet[(group >> 12) & 0x3F]);
        text.push_back(kAlphabet[(group >> 6) & 0x3F]);
        text.push_back(kAlphabet[group & 0x3F]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const std::uint32_t group = (bytes[i] << 16) | (rest == 2 ? bytes[i + 1] << 8 : 0);
        text.push_back(kAlphabet[(group >> 18) & 0x3F]);
        text.push_back(kAlphabet[(group >> 12) & 0x3F]);
        text.push_back(rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : kPadding);
        text.push_back(kPadding);
    }
    return text;
}

Bytes Base64Decode(std::string_view text) {
    Bytes bytes;
    const std::size_t groups = text.size() / 4;
    bytes.reserve(groups * 3);
    for (std::size_t g = 0; g < groups; ++g) {
        const std::string_view chars = text.substr(g * 4, 4);
        const std::uint32_t group = (Sextet(chars[0]) << 18) | (Sextet(chars[1]) << 12) |
                                    (Sextet(chars[2]) << 6) | Sextet(chars[3]);
        bytes.push_back(static_cast<std::uint8_t>(group >> 16));
        if (chars[2] == kPadding) {
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(group >> 8));
        if (chars[3] == kPadding) {
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(group));
    }
    return bytes;
}

std::u16string EncodeText16(std::u16string_view text) {
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t ch : text) {
        bytes.push_back(static_cast<std::uint8_t>(ch & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(ch >> 8));
    }
    const std::string ascii = Base64Encode(bytes);
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string DecodeText16(std::u16string_view base64) {
    std::string ascii;
    ascii.reserve(base64.size());
    for (char16_t ch : base64) {
        // Every character outside ASCII becomes a byte outside the alphabet in the 8-bit code
        // page, so '?' stands in for it here.
        ascii.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
    }
    const Bytes bytes = Base64Decode(ascii);
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
}

}  // namespace oplix
