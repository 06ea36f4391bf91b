#pragma once

#include <QStringList>
#include <memory>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/Settings.h"
#include "formats/StudentsList.h"

class QFileDialog;

namespace oplix {
class SessionStore;
class TestSession;
}  // namespace oplix

namespace oplix::ui {

class AboutWindow;
class BothListsWindow;
class LegendWindow;
class MainWindow;
class MessageBoxWindow;
class PupilsListWindow;
class QtMinuteTimer;
class QtSoundPlayer;
class QuestionPictureWindow;
class QuestionTextWindow;
class SummaryWindow;
class TestPanel;
class TestsListWindow;

// Every window of the program, each made once in the program's fixed order, with the state
// the run shares: the locations, the settings, the journal and the test session.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();

    // The first showing of the main window: folders, settings, window mode, default lists,
    // then the command line's test file, if any.
    void Prepare(const QStringList& arguments);

    // True once every window and the session are made (right after the first paint).
    bool IsReady() const { return session_ != nullptr; }

    MainWindow& Main() { return *main_; }
    MessageBoxWindow& Messages() { return *messages_; }
    TestSession& Session() { return *session_; }
    QtMinuteTimer& MinuteTimer() { return *timer_; }
    const Settings& CurrentSettings() const { return settings_; }
    const Locations& CurrentLocations() const { return locations_; }

    // Starts the chosen test as every start in the program does, its first question painted
    // before this returns.
    void StartTest(CurrentChoice choice);

private:
    // Everything after the main window's first paint: the other windows, the session, the
    // default lists and the command line's test file.
    void PrepareTheRest(const QStringList& arguments);
    void CreateWindows();
    void CreateListWindows();
    void CreateSession();
    void ConnectMenu();
    void SwitchWindowMode(int mode, bool store);
    void OpenTestFileFromOutside(const QString& path, bool fromCommandLine);
    void StartFromChosenFile();
    void StartNamedWithFile();
    // The open dialog's file, empty when the pupil cancels.
    QString ChooseTestFile();
    void OpenHelp();

    Locations locations_;
    Settings settings_;
    Journal journal_;
    SystemClock clock_;
    CurrentChoice choice_;
    StudentsList students_;  // of the list windows; a named test reads its pupil's class here
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<QuestionPictureWindow> pictureWindow_;
    std::unique_ptr<QuestionTextWindow> textWindow_;
    std::unique_ptr<MessageBoxWindow> messages_;
    std::unique_ptr<SummaryWindow> summary_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<LegendWindow> legend_;
    std::unique_ptr<BothListsWindow> bothLists_;
    std::unique_ptr<TestsListWindow> testsList_;
    std::unique_ptr<PupilsListWindow> pupilsList_;
    TestPanel* panel_ = nullptr;  // owned by the main window
    std::unique_ptr<QtSoundPlayer> sounds_;
    std::unique_ptr<QtMinuteTimer> timer_;
    std::unique_ptr<SessionStore> store_;
    std::unique_ptr<TestSession> session_;
    std::unique_ptr<QFileDialog> openTest_;
};

}  // namespace oplix::ui
