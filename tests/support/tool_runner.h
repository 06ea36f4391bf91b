#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "storage/Bytes.h"
#include "test_files.h"

namespace oplix::testing_files {

struct ToolRun {
    int exitCode = -1;
    Bytes out;
    std::string err;
};

// Runs oplix-tool with these arguments (no shell between), standard output and standard error
// caught in files of `folder`.
inline ToolRun RunTool(const std::vector<std::string>& arguments, const ScratchFolder& folder) {
    const std::string outPath = folder.File("tool.out");
    const std::string errPath = folder.File("tool.err");
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
            _exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(OPLIX_TOOL_PATH)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(OPLIX_TOOL_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    ToolRun run;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = ReadFileBytes(outPath);
    const Bytes err = ReadFileBytes(errPath);
    run.err.assign(err.begin(), err.end());
    return run;
}

}  // namespace oplix::testing_files
