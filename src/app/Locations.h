#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace oplix {

// Where the program finds and keeps its files, computed once at start-up. Folders end without
// a separator unless noted.
struct Locations {
    std::string programFolder;          // the executable's folder, with a trailing '/'
    std::string shippedFolder;          // Zestawy/, Listy/, Pomoc/; with a trailing '/'
    std::string applicationDataFolder;  // $XDG_DATA_HOME, else ~/.local/share
    std::string dataFolder;             // applicationDataFolder + "/Pelmar/Oplix/Test"
    std::string tempFolder;             // dataFolder + "/Temp"
    std::string settingsFile;           // dataFolder + "/Test.ini"
    std::string journalFile;            // dataFolder + "/Dziennik.txt"
    std::string interruptedWorkFile;    // dataFolder + "/Przerwany.dat"
    std::string documentsFolder;        // the XDG documents folder, else ~/Documents, else home
    std::string helpFile;               // shippedFolder + "Pomoc/index.htm"
};

// The value of an environment variable, or none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The process's own environment; HOME falls back to the user's entry in the password database.
EnvironmentLookup ProcessEnvironment();

// The running program's file, from /proc/self/exe; empty when it cannot be read.
std::string CurrentExecutablePath();

// Computes every location from the executable's path and the environment. Looks at the file
// system only to find ~/.config/user-dirs.dirs, ~/Documents and an installed share folder.
Locations ComputeLocations(const std::string& executablePath, const EnvironmentLookup& environment);

// Creates, one level at a time, the application-data folder when it is missing, then
// Pelmar, Pelmar/Oplix, Pelmar/Oplix/Test and Pelmar/Oplix/Test/Temp below it. Failures are
// silent: the later steps simply find no files.
void CreateDataFolders(const Locations& locations);

// The path of the first file (folders skipped) in `folder` whose extension is `extension`
// (without the dot, letter case ignored), in byte order of the names; empty when none.
std::string FindDefaultList(const std::string& folder, std::string_view extension);

// Files made on Windows name paths with backslashes; the local file system wants '/'.
std::string WindowsPathToLocal(std::string path);

}  // namespace oplix
