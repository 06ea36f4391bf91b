#pragma once

#include <string>
#include <string_view>

namespace oplix {

// The file a named pupil's result goes to: the folder, then the test title, the surname and
// the first name joined by "_", with ".sko". The title and the names come from files, so a
// '/', a '\' or a zero byte in them becomes '_': the name stays one file in that folder. The
// result's content keeps the real texts.
std::string ResultFileName(std::string_view title, std::string_view surname,
                           std::string_view firstName);

std::string ResultFilePath(const std::string& folder, std::string_view title,
                           std::string_view surname, std::string_view firstName);

}  // namespace oplix
