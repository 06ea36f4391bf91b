#include "testing/ResultFileName.h"

namespace oplix {
namespace {

// A backslash is no separator here, but the result writer's fall-back to the documents folder
// cuts the name at one, as at a Windows folder.
std::string WithinOneFolder(std::string_view part) {
    std::string safe(part);
    for (char& c : safe) {
        if (c == '/' || c == '\\' || c == '\0') {
            c = '_';
        }
    }
    return safe;
}

}  // namespace

std::string ResultFileName(std::string_view title, std::string_view surname,
                           std::string_view firstName) {
    return WithinOneFolder(title) + "_" + WithinOneFolder(surname) + "_" +
           WithinOneFolder(firstName) + ".sko";
}

std::string ResultFilePath(const std::string& folder, std::string_view title,
                           std::string_view surname, std::string_view firstName) {
    const std::string name = ResultFileName(title, surname, firstName);
    if (!folder.empty() && folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

}  // namespace oplix
