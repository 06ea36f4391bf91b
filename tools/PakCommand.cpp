// Placeholder until the command is written.
#include "ToolCommands.h"
namespace oplix::tool {
int RunPak(const std::vector<std::string>&) {
    return kFailure;
}
}  // namespace oplix::tool
