// Base64 and field reading on arbitrary input: the codec must round trip, and the field
// operations on a tree parsed from the input must report a code and never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "storage/DCPbase64.h"
#include "storage/EncodedFields.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace {

using namespace oplix;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckBase64(std::span<const std::uint8_t> input) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    const Bytes decoded = Base64Decode(text);
    Check(decoded.size() <= text.size() / 4 * 3);
    Check(Base64Decode(Base64Encode(decoded)) == decoded);

    const std::string encoded = Base64Encode(input);
    Check(encoded.size() == (input.size() + 2) / 3 * 4);
    Check(Base64Decode(encoded) == Bytes(input.begin(), input.end()));

    std::u16string text16;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        text16.push_back(static_cast<char16_t>(input[i] | (input[i + 1] << 8)));
    }
    const std::u16string value = DecodeText16(text16);
    Check(DecodeText16(EncodeText16(value)) == value);
}

// Reads a field at a path, then writes the value back and checks that it reads the same.
void CheckField(TpkXML& doc, int mode, std::string_view level1, std::string_view level2,
                std::string_view level3) {
    int code = -1;
    const std::string text = ReadTextField(mode, level1, level2, level3, "", doc, code);
    Check(code >= kFieldOk && code <= kFieldCodingFailed);
    Check(code == kFieldOk || text.empty());
    int intCode = -1;
    const std::int32_t number = ReadIntField(mode, level1, level2, level3, "", doc, intCode);
    Check(intCode >= kFieldOk && intCode <= kFieldNotAnInteger);
    Check(intCode == kFieldOk || number == 0);
    if (code != kFieldOk) {
        return;
    }
    WriteTextField(mode, level1, level2, level3, "", doc, text, code);
    Check(code == kFieldOk);
    Check(ReadTextField(mode, level1, level2, level3, "", doc, code) == text);
    Check(code == kFieldOk);
}

// The names of the first top-level element and its first child, so that fields of the parsed
// document itself are reached, not only fixed ones.
void CheckFieldsOf(TpkXML& doc) {
    const TpkXMLNode* top = doc.Root().Child(0);
    const std::string level1 = top ? Utf16ToUtf8(top->Name) : "tst";
    const TpkXMLNode* child = top ? top->Child(0) : nullptr;
    const std::string level2 = child ? Utf16ToUtf8(child->Name) : "ilp";
    for (int mode : {kFieldPlain, kFieldBase64}) {
        CheckField(doc, mode, level1, level2, "");
        CheckField(doc, mode, level1, level2, "x");
        CheckField(doc, mode, "tst", "ilp", "");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    CheckBase64(input);
    TpkXML doc;
    doc.LoadFromBytes(input);
    CheckFieldsOf(doc);
    return 0;
}
