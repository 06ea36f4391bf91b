#include "ui/main/ProgramWindows.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "app/FileReplacement.h"
#include "app/SettingsFile.h"
#include "storage/Random.h"
#include "testing/InterruptedWorkOffer.h"
#include "testing/SessionStore.h"
#include "testing/TestSession.h"
#include "ui/main/LocalPath.h"
#include "ui/main/MainWindow.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/QtSoundPlayer.h"
#include "ui/main/TestPanel.h"
#include "ui/widgets/FirstPaint.h"
#include "ui/windows/AboutWindow.h"
#include "ui/windows/BothListsWindow.h"
#include "ui/windows/LegendWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/PupilsListWindow.h"
#include "ui/windows/QuestionPictureWindow.h"
#include "ui/windows/QuestionTextWindow.h"
#include "ui/windows/SummaryWindow.h"
#include "ui/windows/TabKeyFilter.h"
#include "ui/windows/TestsListWindow.h"

namespace oplix::ui {
namespace {

constexpr const char* kHomePage = "https://pelmar.example.org/oplix/";

bool IsTestFileName(const QString& path) {
    return path.endsWith(QStringLiteral(".skt"), Qt::CaseInsensitive);
}

}  // namespace

// Only the main window and the message box (which the settings may need) are made before
// the main window is first on screen; the other windows follow right after its first paint.
ProgramWindows::ProgramWindows()
    : locations_(ComputeLocations(CurrentExecutablePath(), ProcessEnvironment())) {
    main_ = std::make_unique<MainWindow>();
    messages_ = std::make_unique<MessageBoxWindow>();
    qApp->installEventFilter(new TabKeyFilter(messages_.get(), [this] {
        if (messages_->isVisible()) {
            messages_->NextButton();
        }
    }));
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::CreateWindows() {
    pictureWindow_ = std::make_unique<QuestionPictureWindow>();
    textWindow_ = std::make_unique<QuestionTextWindow>();
    summary_ = std::make_unique<SummaryWindow>(QString::fromStdString(locations_.documentsFolder));
    about_ = std::make_unique<AboutWindow>();
    legend_ = std::make_unique<LegendWindow>(settings_, locations_.settingsFile, journal_);
    const auto panelOrigin = [this] { return main_->PanelOrigin(); };
    summary_->SetPlacement(panelOrigin);
    about_->SetPlacement(panelOrigin);
    pictureWindow_->SetPlacement(panelOrigin);
    textWindow_->SetPlacement(panelOrigin);
    panel_ = new TestPanel();
    main_->SetTestPanel(panel_, panel_->TitleStrip());
    // Polished, painted once off screen and given their X windows now, while the pupil reads
    // the main window, so that a test's first question is not kept waiting for it.
    // A first showing lays every text of the panel out; done here, hidden at once, it costs
    // the first test nothing.
    panel_->show();
    panel_->hide();
    panel_->WarmUp();
    pictureWindow_->winId();
    textWindow_->winId();
}

// The both-lists window first: it owns the tests tree the tests list window draws on too.
void ProgramWindows::CreateListWindows() {
    const ListWindowServices services{.settings = settings_,
                                      .journal = journal_,
                                      .clock = clock_,
                                      .messages = *messages_,
                                      .students = students_,
                                      .choice = choice_,
                                      .origin = [this] { return main_->PanelOrigin(); },
                                      .startTest = [this] { StartTest(choice_); }};
    bothLists_ = std::make_unique<BothListsWindow>(services);
    testsList_ = std::make_unique<TestsListWindow>(services, bothLists_->Tree());
    pupilsList_ = std::make_unique<PupilsListWindow>(services);
}

void ProgramWindows::CreateSession() {
    sounds_ = std::make_unique<QtSoundPlayer>();
    timer_ = std::make_unique<QtMinuteTimer>();
    session_ = std::make_unique<TestSession>(
        SessionServices{journal_, *messages_, clock_, ProcessRandom(), settings_, locations_},
        SessionWindows{*panel_, *textWindow_, *pictureWindow_, *legend_, *summary_, *sounds_,
                       *timer_});
    store_ = std::make_unique<SessionStore>(locations_.interruptedWorkFile);
    session_->KeepWorkIn(store_.get());
    session_->KeepStartsAfterShowing(true);
    panel_->ConnectSession(*session_);
    QObject::connect(timer_.get(), &QtMinuteTimer::ticked, timer_.get(),
                     [this] { session_->TickMinute(); });
    summary_->SetSaveHandler([this](const std::string& path) { session_->SaveResult(path); });
    summary_->SetMessageBox(*messages_);
}

void ProgramWindows::ConnectMenu() {
    MainWindow* main = main_.get();
    QObject::connect(main, &MainWindow::windowModeSwitched, main,
                     [this](int mode, bool store) { SwitchWindowMode(mode, store); });
    QObject::connect(main, &MainWindow::copyMethodKey, main, [this](int method) {
        StoreCopyMethod(locations_.settingsFile, settings_, journal_, method);
    });
    QObject::connect(main, &MainWindow::journalLevelKey, main, [this](int level) {
        StoreJournalLevel(locations_.settingsFile, settings_, journal_, level);
    });
    QObject::connect(main, &MainWindow::helpRequested, main, [this] { OpenHelp(); });
    QObject::connect(main, &MainWindow::homePageRequested, main,
                     [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); });
    QObject::connect(main, &MainWindow::aboutRequested, main, [this] { about_->exec(); });
    QObject::connect(main, &MainWindow::startWithBothLists, main, [this] { bothLists_->Open(); });
    QObject::connect(main, &MainWindow::startFromTestsList, main, [this] {
        choice_.surname.clear();
        testsList_->Open();
    });
    QObject::connect(main, &MainWindow::startNamedWithFile, main, [this] { StartNamedWithFile(); });
    QObject::connect(main, &MainWindow::startFromFile, main, [this] { StartFromChosenFile(); });
    QObject::connect(main, &MainWindow::filesDropped, main, [this](const QStringList& paths) {
        OpenTestFileFromOutside(LocalPath(paths.front()), false);
    });
}

void ProgramWindows::Prepare(const QStringList& arguments) {
    CreateDataFolders(locations_);
    journal_.SetFile(locations_.journalFile);
    LoadSettings(locations_.settingsFile, settings_, journal_, *messages_);
    RaiseCopyMethodForStartUp(settings_);
    main_->ApplyWindowMode(settings_.wo);
    new FirstPaint(main_.get(), [this, arguments] { PrepareTheRest(arguments); });
    main_->show();
}

void ProgramWindows::PrepareTheRest(const QStringList& arguments) {
    CreateWindows();
    CreateListWindows();
    CreateSession();
    ConnectMenu();
    sounds_->Load();
    SeedProcessRandomFromClock();
    if (settings_.sct.empty()) {
        settings_.sct = FindDefaultList(locations_.shippedFolder + "Zestawy", "skg");
    }
    if (settings_.scl.empty()) {
        settings_.scl = FindDefaultList(locations_.shippedFolder + "Listy", "sku");
    }
    // Work a crash interrupted comes first; the command line's test opens once it is answered.
    RemoveStaleReplacements(locations_.interruptedWorkFile, clock_.Now());
    if (OfferInterruptedWork(*store_, *session_, journal_, *messages_)) {
        panel_->repaint();
        session_->KeepWork();
    }
    if (!arguments.isEmpty()) {
        OpenTestFileFromOutside(LocalPath(arguments.front()), true);
    }
}

void ProgramWindows::SwitchWindowMode(int mode, bool store) {
    main_->ApplyWindowMode(mode);
    if (store) {
        StoreWindowMode(locations_.settingsFile, settings_, journal_, mode);
    }
}

void ProgramWindows::OpenTestFileFromOutside(const QString& path, bool fromCommandLine) {
    if (!IsTestFileName(path)) {
        messages_->ShowMessageBox(
            MessageKind::Close, MessageIcon::Warning,
            "\rModuł Test nie obsługuje plików tego typu.\rWskaż pliki testu.");
        if (fromCommandLine) {
            journal_.Write(kJournalRoutine, "Próba otwarcia pliku innego typu przez dwuklik.");
        }
        return;
    }
    CurrentChoice choice;
    choice.testPath = path.toStdString();
    choice.mode = StartMode::TestFileAnonymously;
    StartTest(choice);
}

QString ProgramWindows::ChooseTestFile() {
    if (openTest_ == nullptr) {
        openTest_ =
            std::make_unique<QFileDialog>(main_.get(), QStringLiteral("Wskaż plik testu"),
                                          QString::fromStdString(locations_.documentsFolder),
                                          QStringLiteral("Plik testu (*.skt *.SKT)"));
        openTest_->setFileMode(QFileDialog::ExistingFile);
        openTest_->setAcceptMode(QFileDialog::AcceptOpen);
        openTest_->setDefaultSuffix(QStringLiteral("skt"));
    }
    if (openTest_->exec() != QDialog::Accepted || openTest_->selectedFiles().isEmpty()) {
        return {};
    }
    return openTest_->selectedFiles().front();
}

void ProgramWindows::StartFromChosenFile() {
    const QString path = ChooseTestFile();
    if (path.isEmpty()) {
        return;
    }
    CurrentChoice choice;
    choice.testPath = path.toStdString();
    choice.mode = StartMode::TestFileAnonymously;
    StartTest(choice);
}

// The pupil from the students list, then any test file.
void ProgramWindows::StartNamedWithFile() {
    choice_.surname.clear();
    pupilsList_->Open();
    QCoreApplication::processEvents();
    if (choice_.surname.empty()) {
        return;
    }
    const QString path = ChooseTestFile();
    if (path.isEmpty()) {
        return;
    }
    choice_.testPath = path.toStdString();
    choice_.mode = StartMode::NamedPupilWithTestFile;
    StartTest(choice_);
}

void ProgramWindows::StartTest(CurrentChoice choice) {
    choice_ = std::move(choice);
    if (!session_->StartTest(choice_, IsNamedMode(choice_.mode) ? &students_ : nullptr)) {
        return;
    }
    // The first question is painted now (with all else waiting to be painted, but not the
    // backdrop of window mode 1 again); the side windows are mapped after it. Its record is
    // written right after, before the event loop turns.
    panel_->repaint();
    session_->KeepWork();
}

void ProgramWindows::OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(locations_.helpFile)));
}

}  // namespace oplix::ui
