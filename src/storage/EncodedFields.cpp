#include "storage/EncodedFields.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "storage/DCPbase64.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

struct FieldPath {
    std::string_view level1, level2, level3, level4;
};

bool IsWellFormedUtf8(std::string_view text) {
    return Utf16ToUtf8(Utf8ToUtf16(text)) == text;
}

bool IsWellFormedUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> ElementName(std::string_view name) {
    if (name.empty() || !IsWellFormedUtf8(name)) {
        return std::nullopt;
    }
    return Utf8ToUtf16(name);
}

// The element at the end of the path, created with every missing element on the way. None when
// a name cannot name an element (empty, or not UTF-8): a nameless element would not read back
// once saved. Names are checked before anything is created.
TpkXMLNode* WalkPath(TpkXML& doc, const FieldPath& path) {
    const std::size_t depth = path.level3.empty() ? 2 : (path.level4.empty() ? 3 : 4);
    const std::array<std::string_view, 4> levels = {path.level1, path.level2, path.level3,
                                                    path.level4};
    std::array<std::u16string, 4> names;
    for (std::size_t i = 0; i < depth; ++i) {
        std::optional<std::u16string> name = ElementName(levels[i]);
        if (!name) {
            return nullptr;
        }
        names[i] = std::move(*name);
    }
    TpkXMLNode* node = doc.FindTopNode(names[0], true, TpkXMLKind::Element);
    for (std::size_t i = 1; i < depth && node != nullptr; ++i) {
        node = node->FindChild(names[i], true, TpkXMLKind::Element);
    }
    return node;
}

std::string ReadField(int mode, const FieldPath& path, TpkXML& doc, int& code) {
    code = kFieldOk;
    const TpkXMLNode* node = WalkPath(doc, path);
    if (node == nullptr || !IsWellFormedUtf16(node->Text)) {
        code = kFieldPathFailed;
        return {};
    }
    if (mode != kFieldBase64) {
        return Utf16ToUtf8(node->Text);
    }
    const std::u16string decoded = DecodeText16(node->Text);
    if (!IsWellFormedUtf16(decoded)) {
        code = kFieldCodingFailed;
        return {};
    }
    return Utf16ToUtf8(decoded);
}

// Accepts an optional sign and at least one decimal digit, nothing else.
std::optional<std::int32_t> ParseInt32(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

void WriteField(int mode, const FieldPath& path, TpkXML& doc, std::string_view value, int& code) {
    if (!IsWellFormedUtf8(value)) {
        code = mode == kFieldBase64 ? kFieldCodingFailed : kFieldPathFailed;
        return;
    }
    std::u16string text = Utf8ToUtf16(value);
    if (mode == kFieldBase64) {
        text = EncodeText16(text);
    }
    TpkXMLNode* node = WalkPath(doc, path);
    if (node == nullptr) {
        code = kFieldPathFailed;
        return;
    }
    node->Text = std::move(text);
}

}  // namespace

std::string ReadTextField(int mode, std::string_view level1, std::string_view level2,
                          std::string_view level3, std::string_view level4, TpkXML& doc,
                          int& code) {
    return ReadField(mode, {level1, level2, level3, level4}, doc, code);
}

std::int32_t ReadIntField(int mode, std::string_view level1, std::string_view level2,
                          std::string_view level3, std::string_view level4, TpkXML& doc,
                          int& code) {
    const std::string text = ReadField(mode, {level1, level2, level3, level4}, doc, code);
    if (code == kFieldPathFailed) {
        return 0;
    }
    // A decoding failure leaves the empty text, which is not a number either.
    const std::optional<std::int32_t> value = ParseInt32(text);
    if (!value) {
        code = kFieldNotAnInteger;
        return 0;
    }
    return *value;
}

void WriteTextField(int mode, std::string_view level1, std::string_view level2,
                    std::string_view level3, std::string_view level4, TpkXML& doc,
                    std::string_view value, int& code) {
    WriteField(mode, {level1, level2, level3, level4}, doc, value, code);
}

void WriteIntField(int mode, std::string_view level1, std::string_view level2,
                   std::string_view level3, std::string_view level4, TpkXML& doc,
                   std::int32_t value, int& code) {
    std::array<char, 16> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc()) {
        code = kFieldNotAnInteger;
        return;
    }
    WriteField(mode, {level1, level2, level3, level4}, doc,
               std::string_view(digits.data(), end - digits.data()), code);
}

}  // namespace oplix
