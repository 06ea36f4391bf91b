#include "app/Locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "storage/FileOperations.h"

namespace oplix {
namespace {

constexpr std::string_view kDataSubfolders[] = {"Pelmar", "Pelmar/Oplix", "Pelmar/Oplix/Test",
                                                "Pelmar/Oplix/Test/Temp"};

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The folder part of a path, without the separator; "." for a bare name.
std::string ParentFolder(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : trimmed.substr(0, slash);
}

std::string JoinFolder(const std::string& folder, std::string_view rest) {
    std::string joined = WithoutTrailingSlashes(folder);
    if (joined != "/") {
        joined += '/';
    }
    joined += rest;
    return joined;
}

std::string HomeFolder(const EnvironmentLookup& environment) {
    return environment("HOME").value_or("");
}

// An XDG base folder: the variable's value when it is an absolute path, else the fallback
// below the home folder.
std::string XdgBaseFolder(const EnvironmentLookup& environment, std::string_view variable,
                          std::string_view fallbackBelowHome) {
    const std::optional<std::string> value = environment(variable);
    if (value && !value->empty() && value->front() == '/') {
        return WithoutTrailingSlashes(*value);
    }
    return JoinFolder(HomeFolder(environment), fallbackBelowHome);
}

// The value of a line `NAME="value"` of user-dirs.dirs, its backslash escapes undone and a
// leading $HOME expanded; none when the line assigns something else or the value is not a
// usable absolute path.
std::optional<std::string> UserDirValue(std::string_view line, std::string_view name,
                                        const std::string& home) {
    const auto notSpace = [](char ch) { return ch != ' ' && ch != '\t'; };
    line.remove_prefix(std::find_if(line.begin(), line.end(), notSpace) - line.begin());
    if (!line.starts_with(name)) {
        return std::nullopt;
    }
    line.remove_prefix(name.size());
    line.remove_prefix(std::find_if(line.begin(), line.end(), notSpace) - line.begin());
    if (!line.starts_with("=")) {
        return std::nullopt;
    }
    line.remove_prefix(1);
    line.remove_prefix(std::find_if(line.begin(), line.end(), notSpace) - line.begin());
    if (!line.starts_with("\"")) {
        return std::nullopt;
    }
    std::string value;
    bool closed = false;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            closed = true;
            break;
        }
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        value += line[i];
    }
    if (!closed) {
        return std::nullopt;
    }
    for (std::string_view homeVariable : {"${HOME}", "$HOME"}) {
        if (value.starts_with(homeVariable) &&
            (value.size() == homeVariable.size() || value[homeVariable.size()] == '/')) {
            value = home + value.substr(homeVariable.size());
            break;
        }
    }
    if (value.empty() || value.front() != '/') {
        return std::nullopt;
    }
    return WithoutTrailingSlashes(value);
}

// XDG_DOCUMENTS_DIR of user-dirs.dirs; the last valid assignment wins, as in a shell.
std::optional<std::string> XdgDocumentsFolder(const EnvironmentLookup& environment) {
    const std::string home = HomeFolder(environment);
    std::ifstream file(
        JoinFolder(XdgBaseFolder(environment, "XDG_CONFIG_HOME", ".config"), "user-dirs.dirs"));
    std::optional<std::string> found;
    std::string line;
    while (std::getline(file, line)) {
        if (std::optional<std::string> value = UserDirValue(line, "XDG_DOCUMENTS_DIR", home)) {
            found = std::move(value);
        }
    }
    return found;
}

std::string DocumentsFolder(const EnvironmentLookup& environment) {
    if (std::optional<std::string> configured = XdgDocumentsFolder(environment)) {
        return *configured;
    }
    const std::string home = HomeFolder(environment);
    const std::string documents = JoinFolder(home, "Documents");
    return IsFolder(documents) ? documents : WithoutTrailingSlashes(home);
}

// An installed program lives in PREFIX/bin and finds its files in PREFIX/share/oplix-test.
std::string ShippedFolder(const std::string& programFolder) {
    const std::string installed =
        JoinFolder(ParentFolder(WithoutTrailingSlashes(programFolder)), "share/oplix-test");
    return IsFolder(installed) ? installed + "/" : programFolder;
}

void CreateFolderIfMissing(const std::string& path, mode_t mode) {
    if (!IsFolder(path)) {
        mkdir(path.c_str(), mode);
    }
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        const std::string key(name);
        if (const char* value = std::getenv(key.c_str())) {
            return std::string(value);
        }
        if (key == "HOME") {
            std::vector<char> buffer(16384);
            passwd entry{};
            passwd* found = nullptr;
            if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
                found != nullptr && found->pw_dir != nullptr) {
                return std::string(found->pw_dir);
            }
        }
        return std::nullopt;
    };
}

std::string CurrentExecutablePath() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

Locations ComputeLocations(const std::string& executablePath,
                           const EnvironmentLookup& environment) {
    Locations locations;
    locations.programFolder = JoinFolder(ParentFolder(executablePath), "");
    locations.shippedFolder = ShippedFolder(locations.programFolder);
    locations.applicationDataFolder = XdgBaseFolder(environment, "XDG_DATA_HOME", ".local/share");
    locations.dataFolder = JoinFolder(locations.applicationDataFolder, kDataSubfolders[2]);
    locations.tempFolder = locations.dataFolder + "/Temp";
    locations.settingsFile = locations.dataFolder + "/Test.ini";
    locations.journalFile = locations.dataFolder + "/Dziennik.txt";
    locations.interruptedWorkFile = locations.dataFolder + "/Przerwany.dat";
    locations.documentsFolder = DocumentsFolder(environment);
    locations.helpFile = locations.shippedFolder + "Pomoc/index.htm";
    return locations;
}

void CreateDataFolders(const Locations& locations) {
    const std::string& base = locations.applicationDataFolder;
    // A fresh account may lack ~/.local/share itself; XDG asks for mode 0700 there.
    for (std::size_t slash = base.find('/', 1); slash != std::string::npos;
         slash = base.find('/', slash + 1)) {
        CreateFolderIfMissing(base.substr(0, slash), 0700);
    }
    CreateFolderIfMissing(base, 0700);
    for (std::string_view subfolder : kDataSubfolders) {
        CreateFolderIfMissing(JoinFolder(base, subfolder), 0777);
    }
}

std::string FindDefaultList(const std::string& folder, std::string_view extension) {
    std::vector<std::string> names;
    ListFiles(JoinFolder(folder, "*."), extension, names);
    if (names.empty()) {
        return {};
    }
    return JoinFolder(folder, names.front());
}

std::string WindowsPathToLocal(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace oplix
