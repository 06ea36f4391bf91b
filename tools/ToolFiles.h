#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "storage/Bytes.h"

namespace oplix::tool {

// Prints "oplix-tool COMMAND: SUBJECT: MESSAGE" on standard error; gives kFailure.
int ReportFailure(const char* command, const std::string& subject, const std::string& message);

// Both print "oplix-tool COMMAND: ..." on standard error when they fail.
bool ReadInputFile(const char* command, const std::string& path, Bytes& bytes);
bool WriteToStandardOutput(const char* command, std::span<const std::uint8_t> bytes);

}  // namespace oplix::tool
