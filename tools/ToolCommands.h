#pragma once

#include <string>
#include <vector>

namespace oplix::tool {

// Exit statuses shared by every command.
constexpr int kSuccess = 0;
constexpr int kFailure = 1;     // a missing member, an unreadable or damaged file
constexpr int kUsageError = 2;  // wrong words on the command line

// Each command takes the arguments after its own name.
int RunPak(const std::vector<std::string>& args);
int RunXml(const std::vector<std::string>& args);
int RunShow(const std::vector<std::string>& args);
int RunMakeTest(const std::vector<std::string>& args);
int RunResults(const std::vector<std::string>& args);
int RunSolve(const std::vector<std::string>& args);
int RunSettings(const std::vector<std::string>& args);

}  // namespace oplix::tool
