#pragma once

#include <QStringList>
#include <memory>

#include "app/Journal.h"
#include "app/Locations.h"
#include "app/Settings.h"

namespace oplix::ui {

class MainWindow;
class MessageBoxWindow;

// Every window of the program, each made once in the program's fixed order, with the state
// the run shares: the locations, the settings and the journal.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();

    // The first showing of the main window: folders, settings, window mode, default lists,
    // then the command line's test file, if any.
    void Prepare(const QStringList& arguments);

    MainWindow& Main() { return *main_; }
    MessageBoxWindow& Messages() { return *messages_; }
    const Settings& CurrentSettings() const { return settings_; }
    const Locations& CurrentLocations() const { return locations_; }

private:
    void ConnectMenu();
    void SwitchWindowMode(int mode, bool store);
    void OpenTestFileFromOutside(const QString& path, bool fromCommandLine);
    void OpenHelp();

    Locations locations_;
    Settings settings_;
    Journal journal_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<MessageBoxWindow> messages_;
};

}  // namespace oplix::ui
