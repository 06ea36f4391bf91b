#pragma once

#include <string>
#include <string_view>

namespace oplix::tool {

// File names are compared ignoring the case of ASCII letters, as the program compares
// extensions and member names.
inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// The extension of the path's last name with its dot, in lower case; empty when it has none.
inline std::string LowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return AsciiLower(path.substr(dot));
}

}  // namespace oplix::tool
