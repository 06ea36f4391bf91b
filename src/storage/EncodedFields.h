#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace oplix {

class TpkXML;

// A field is the text of the element reached by two to four element names below the root: an
// empty level 3 makes a two-level path (level 4 is then ignored), an empty level 4 a three-level
// one. Names are UTF-8 and matched ignoring case. Walking a path creates the elements it lacks;
// an element left empty is not written when the document is saved. Values are UTF-8: mode
// kFieldBase64 stores the base64 form of the value's UTF-16 little-endian bytes, any other mode
// stores the value itself.

inline constexpr int kFieldPlain = 0;
inline constexpr int kFieldBase64 = 1;

// Failure codes reported through the in-out `code` argument.
enum FieldCode : int {
    kFieldOk = 0,
    kFieldPathFailed = 1,    // walking the path, or reading or writing the element, failed
    kFieldCodingFailed = 2,  // decoding (reading) or encoding (writing) the value failed
    kFieldNotAnInteger = 3,  // the text is not a signed 32-bit decimal integer
};

// Sets `code` to kFieldOk first. An absent field reads as the empty value with kFieldOk.
// Returns the empty value on failure.
std::string ReadTextField(int mode, std::string_view level1, std::string_view level2,
                          std::string_view level3, std::string_view level4, TpkXML& doc, int& code);

// Sets `code` to kFieldOk first. The text must be a decimal integer with an optional sign that
// fits in 32 bits; otherwise, the empty text of an absent field included, the code is
// kFieldNotAnInteger. Returns 0 on failure.
std::int32_t ReadIntField(int mode, std::string_view level1, std::string_view level2,
                          std::string_view level3, std::string_view level4, TpkXML& doc, int& code);

// Replaces the element's text with the value. Sets `code` only on failure, never back to
// kFieldOk, so a caller can check once after many writes. Nothing changes on failure.
void WriteTextField(int mode, std::string_view level1, std::string_view level2,
                    std::string_view level3, std::string_view level4, TpkXML& doc,
                    std::string_view value, int& code);

// Writes the value in decimal, a minus sign before negatives; otherwise as WriteTextField.
void WriteIntField(int mode, std::string_view level1, std::string_view level2,
                   std::string_view level3, std::string_view level4, TpkXML& doc,
                   std::int32_t value, int& code);

}  // namespace oplix
