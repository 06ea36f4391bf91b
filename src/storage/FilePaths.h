#pragma once

#include <string>

namespace oplix {

// The file name without any folder, whether the path was written on Windows ('\') or here.
std::string FileNamePart(const std::string& path);

// `folder` and `name` joined by one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace oplix
