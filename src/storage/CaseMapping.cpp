#include "storage/CaseMapping.h"

#include <locale.h>
#include <wctype.h>

#include "storage/Cp1250.h"

namespace oplix {
namespace {

// C.UTF-8 carries the full Unicode case table on every glibc we build for; should it be
// missing, the "C" locale still gives a stable (ASCII-only) mapping.
locale_t FixedUnicodeLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        return l ? l : newlocale(LC_CTYPE_MASK, "C", locale_t{});
    }();
    return locale;
}

}  // namespace

char16_t UpperChar(char16_t ch) {
    if (ch < 0x80) {
        return (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - 0x20) : ch;
    }
    if (ch >= 0xD800 && ch <= 0xDFFF) {
        return ch;
    }
    wint_t upper = towupper_l(static_cast<wint_t>(ch), FixedUnicodeLocale());
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : ch;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) {
            return false;
        }
    }
    return true;
}

bool EqualsIgnoreCaseCp1250(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        char16_t ca = Cp1250ToChar(static_cast<unsigned char>(a[i]));
        char16_t cb = Cp1250ToChar(static_cast<unsigned char>(b[i]));
        if (UpperChar(ca) != UpperChar(cb)) {
            return false;
        }
    }
    return true;
}

}  // namespace oplix
