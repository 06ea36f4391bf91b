#pragma once

#include <string_view>

namespace oplix {

// A fixed Unicode upper-case mapping, independent of the user's language settings, for
// matching member names and XML names the way the stored files expect.
char16_t UpperChar(char16_t ch);

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// The same comparison for Windows-1250 bytes (archive member names).
bool EqualsIgnoreCaseCp1250(std::string_view a, std::string_view b);

}  // namespace oplix
