#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace oplix::e2e {

// A child process with arguments (no shell) and extra environment variables.
inline pid_t Spawn(const std::vector<std::string>& command,
                   const std::map<std::string, std::string>& environment, int outFd = -1) {
    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // no X server or program outlives a crashed test
    for (const auto& [name, value] : environment) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    if (outFd >= 0) {
        dup2(outFd, 1);
    }
    std::vector<char*> argv;
    for (const std::string& part : command) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

inline int WaitFor(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// A virtual X screen of 1024 x 768 for the length of a test, and the mouse and keyboard on it.
class X11Session {
public:
    X11Session() {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            return;
        }
        // -noreset: a server resets when its last client goes, and a program a test kills may
        // be the last one; one started right after it would find no server to connect to.
        server_ = Spawn({OPLIX_XVFB_PATH, "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                         "1024x768x24", "-nolisten", "tcp", "-noreset"},
                        {});
        close(pipeFds[1]);
        // The server writes its display number and a line feed once it accepts clients.
        std::string number;
        char digit = 0;
        while (read(pipeFds[0], &digit, 1) == 1 && digit != '\n') {
            number.push_back(digit);
        }
        close(pipeFds[0]);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    ~X11Session() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            WaitFor(server_);
        }
    }
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool IsRunning() const { return !display_.empty(); }
    const std::string& Display() const { return display_; }

    // A left click at a point of the screen, as a pupil's hand would make it.
    void Click(int x, int y) const {
        Tool({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
        Pause(80);
        Tool({"click", "1"});
        Pause(350);
    }
    void Type(const std::string& text) const { Tool({"type", "--delay", "20", text}); }
    void Key(const std::string& key) const { Tool({"key", key}); }

    // True once a shown window of the program has a title that begins with `title` (Qt adds
    // the program's name to a dialog's title), within the time given.
    bool WaitForWindow(const std::string& title, int milliseconds) const {
        for (int waited = 0; waited < milliseconds; waited += 100) {
            std::istringstream windows(Output({"search", "--onlyvisible", "--class", "oplix"}));
            for (std::string window; windows >> window;) {
                if (Output({"getwindowname", window}).starts_with(title)) {
                    return true;
                }
            }
            Pause(100);
        }
        return false;
    }

    int Tool(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), OPLIX_XDOTOOL_PATH);
        const int quiet = open("/dev/null", O_WRONLY);
        const int code = WaitFor(Spawn(arguments, {{"DISPLAY", display_}}, quiet));
        close(quiet);
        return code;
    }

    // What xdotool prints.
    std::string Output(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), OPLIX_XDOTOOL_PATH);
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            return {};
        }
        const pid_t child = Spawn(arguments, {{"DISPLAY", display_}}, pipeFds[1]);
        close(pipeFds[1]);
        std::string text;
        char buffer[256];
        for (ssize_t count; (count = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(count));
        }
        close(pipeFds[0]);
        WaitFor(child);
        return text;
    }

private:
    pid_t server_ = -1;
    std::string display_;
};

}  // namespace oplix::e2e
