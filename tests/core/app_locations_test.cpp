#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <string_view>

#include "app/Locations.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void MakeFolders(const std::string& path) {
    std::filesystem::create_directories(path);
}

TEST(Locations, DataFilesLieBelowTheXdgDataFolder) {
    const struct {
        std::map<std::string, std::string> environment;
        std::string applicationData;
    } cases[] = {
        {{{"HOME", "/home/ala"}}, "/home/ala/.local/share"},
        {{{"HOME", "/home/ala"}, {"XDG_DATA_HOME", "/srv/dane/"}}, "/srv/dane"},
        // XDG ignores a relative or empty value.
        {{{"HOME", "/home/ala"}, {"XDG_DATA_HOME", "dane"}}, "/home/ala/.local/share"},
        {{{"HOME", "/home/ala"}, {"XDG_DATA_HOME", ""}}, "/home/ala/.local/share"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.applicationData);
        const Locations locations =
            ComputeLocations("/opt/oplix/oplix-test", FakeEnvironment(c.environment));
        const std::string data = c.applicationData + "/Pelmar/Oplix/Test";
        EXPECT_EQ(locations.applicationDataFolder, c.applicationData);
        EXPECT_EQ(locations.dataFolder, data);
        EXPECT_EQ(locations.tempFolder, data + "/Temp");
        EXPECT_EQ(locations.settingsFile, data + "/Test.ini");
        EXPECT_EQ(locations.journalFile, data + "/Dziennik.txt");
        EXPECT_EQ(locations.interruptedWorkFile, data + "/Przerwany.dat");
    }
}

TEST(Locations, ShippedFilesLieBesideTheProgramOrInTheInstalledShareFolder) {
    ScratchFolder root;
    MakeFolders(root.File("bin"));
    const EnvironmentLookup environment = FakeEnvironment({{"HOME", root.Path()}});

    Locations locations = ComputeLocations(root.File("bin/oplix-test"), environment);
    EXPECT_EQ(locations.programFolder, root.File("bin/"));
    EXPECT_EQ(locations.shippedFolder, root.File("bin/"));
    EXPECT_EQ(locations.helpFile, root.File("bin/Pomoc/index.htm"));

    MakeFolders(root.File("share/oplix-test"));
    locations = ComputeLocations(root.File("bin/oplix-test"), environment);
    EXPECT_EQ(locations.programFolder, root.File("bin/"));
    EXPECT_EQ(locations.shippedFolder, root.File("share/oplix-test/"));
    EXPECT_EQ(locations.helpFile, root.File("share/oplix-test/Pomoc/index.htm"));
}

TEST(Locations, DocumentsFolderComesFromUserDirsThenDocumentsThenHome) {
    ScratchFolder home;
    const auto documents = [&](std::map<std::string, std::string> extra = {}) {
        extra["HOME"] = home.Path();
        return ComputeLocations("/usr/bin/oplix-test", FakeEnvironment(extra)).documentsFolder;
    };
    EXPECT_EQ(documents(), home.Path());

    MakeFolders(home.File("Documents"));
    EXPECT_EQ(documents(), home.File("Documents"));

    MakeFolders(home.File(".config"));
    WriteFileBytes(home.File(".config/user-dirs.dirs"),
                   BytesOf("# XDG_DOCUMENTS_DIR=\"/komentarz\"\n"
                           "XDG_DESKTOP_DIR=\"$HOME/Pulpit\"\n"
                           "XDG_DOCUMENTS_DIR=\"$HOME/Dokumenty szkolne/\"\n"));
    EXPECT_EQ(documents(), home.File("Dokumenty szkolne"));

    // Another configuration folder, an absolute value, escapes, and the last line winning.
    MakeFolders(home.File("konfiguracja"));
    WriteFileBytes(home.File("konfiguracja/user-dirs.dirs"),
                   BytesOf("XDG_DOCUMENTS_DIR=\"$HOME/pierwszy\"\n"
                           "  XDG_DOCUMENTS_DIR = \"/srv/\\\"prace\\\"\"\n"
                           "XDG_DOCUMENTS_DIR=\"wzgledny\"\n"));
    EXPECT_EQ(documents({{"XDG_CONFIG_HOME", home.File("konfiguracja")}}), "/srv/\"prace\"");
}

TEST(Locations, CreatesTheFourDataFoldersOnAFreshAccount) {
    ScratchFolder home;
    const Locations locations =
        ComputeLocations("/usr/bin/oplix-test", FakeEnvironment({{"HOME", home.Path()}}));
    ASSERT_FALSE(IsFolder(home.File(".local")));
    CreateDataFolders(locations);
    for (const char* folder :
         {".local/share/Pelmar", ".local/share/Pelmar/Oplix", ".local/share/Pelmar/Oplix/Test",
          ".local/share/Pelmar/Oplix/Test/Temp"}) {
        EXPECT_TRUE(IsFolder(home.File(folder))) << folder;
    }
    EXPECT_EQ(locations.tempFolder, home.File(".local/share/Pelmar/Oplix/Test/Temp"));
    CreateDataFolders(locations);  // existing folders are no failure
    EXPECT_TRUE(IsFolder(locations.tempFolder));
}

TEST(Locations, FolderCreationFailsSilently) {
    ScratchFolder home;
    WriteFileBytes(home.File("plik"), BytesOf("nie folder"));
    const Locations locations = ComputeLocations(
        "/usr/bin/oplix-test",
        FakeEnvironment({{"HOME", home.Path()}, {"XDG_DATA_HOME", home.File("plik/dane")}}));
    CreateDataFolders(locations);
    EXPECT_FALSE(IsFolder(locations.dataFolder));
}

TEST(Locations, DefaultListIsTheFirstFileWithTheExtension) {
    ScratchFolder folder;
    MakeFolders(folder.File("Zestawy/0-folder.skg"));
    WriteFileBytes(folder.File("Zestawy/b.skg"), BytesOf("b"));
    WriteFileBytes(folder.File("Zestawy/a-lista.SKG"), BytesOf("a"));
    WriteFileBytes(folder.File("Zestawy/0.sku"), BytesOf("inna"));
    WriteFileBytes(folder.File("Zestawy/0.skg.txt"), BytesOf("inna"));
    EXPECT_EQ(FindDefaultList(folder.File("Zestawy"), "skg"), folder.File("Zestawy/a-lista.SKG"));
    EXPECT_EQ(FindDefaultList(folder.File("Zestawy"), "sku"), folder.File("Zestawy/0.sku"));
    EXPECT_EQ(FindDefaultList(folder.File("Zestawy"), "skt"), "");
    EXPECT_EQ(FindDefaultList(folder.File("Listy"), "sku"), "");
}

TEST(Locations, TheProcessKnowsItsOwnFile) {
    const std::string executable = CurrentExecutablePath();
    EXPECT_TRUE(executable.starts_with("/")) << executable;
    EXPECT_TRUE(executable.ends_with("/oplix_core_tests")) << executable;
    EXPECT_EQ(ComputeLocations(executable, ProcessEnvironment()).programFolder,
              executable.substr(0, executable.rfind('/') + 1));
}

TEST(Locations, WindowsPathsGetForwardSlashes) {
    EXPECT_EQ(WindowsPathToLocal("\\Fizyka\\prawo.skt"), "/Fizyka/prawo.skt");
    EXPECT_EQ(WindowsPathToLocal("Wyniki\\3a\\"), "Wyniki/3a/");
    EXPECT_EQ(WindowsPathToLocal("/już/dobra"), "/już/dobra");
}

}  // namespace
}  // namespace oplix
