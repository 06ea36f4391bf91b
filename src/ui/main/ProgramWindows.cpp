#include "ui/main/ProgramWindows.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "app/SettingsFile.h"
#include "storage/Random.h"
#include "ui/main/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/TabKeyFilter.h"

namespace oplix::ui {
namespace {

constexpr const char* kHomePage = "https://pelmar.example.org/oplix/";

bool IsTestFileName(const QString& path) {
    return path.endsWith(QStringLiteral(".skt"), Qt::CaseInsensitive);
}

// A file manager may hand over a file:// address instead of a path.
QString LocalPath(const QString& argument) {
    const QUrl url(argument);
    return url.isLocalFile() ? url.toLocalFile() : argument;
}

}  // namespace

ProgramWindows::ProgramWindows()
    : main_(std::make_unique<MainWindow>()), messages_(std::make_unique<MessageBoxWindow>()) {
    qApp->installEventFilter(new TabKeyFilter(qApp, [this] {
        if (messages_->isVisible()) {
            messages_->NextButton();
        }
    }));
    ConnectMenu();
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::ConnectMenu() {
    QObject::connect(main_.get(), &MainWindow::windowModeSwitched, main_.get(),
                     [this](int mode, bool store) { SwitchWindowMode(mode, store); });
    QObject::connect(main_.get(), &MainWindow::copyMethodKey, main_.get(), [this](int method) {
        StoreCopyMethod(locations_.settingsFile, settings_, journal_, method);
    });
    QObject::connect(main_.get(), &MainWindow::journalLevelKey, main_.get(), [this](int level) {
        StoreJournalLevel(locations_.settingsFile, settings_, journal_, level);
    });
    QObject::connect(main_.get(), &MainWindow::helpRequested, main_.get(), [this] { OpenHelp(); });
    QObject::connect(main_.get(), &MainWindow::homePageRequested, main_.get(),
                     [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); });
    QObject::connect(main_.get(), &MainWindow::filesDropped, main_.get(),
                     [this](const QStringList& paths) {
                         OpenTestFileFromOutside(LocalPath(paths.front()), false);
                     });
}

void ProgramWindows::Prepare(const QStringList& arguments) {
    locations_ = ComputeLocations(CurrentExecutablePath(), ProcessEnvironment());
    CreateDataFolders(locations_);
    journal_.SetFile(locations_.journalFile);
    LoadSettings(locations_.settingsFile, settings_, journal_, *messages_);
    RaiseCopyMethodForStartUp(settings_);
    main_->ApplyWindowMode(settings_.wo);
    main_->show();
    SeedProcessRandomFromClock();
    if (settings_.sct.empty()) {
        settings_.sct = FindDefaultList(locations_.shippedFolder + "Zestawy", "skg");
    }
    if (settings_.scl.empty()) {
        settings_.scl = FindDefaultList(locations_.shippedFolder + "Listy", "sku");
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
            journal_.Write(3, "Próba otwarcia pliku innego typu przez dwuklik.");
        }
        return;
    }
    // The test session takes the file from here (start mode 4).
}

void ProgramWindows::OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(locations_.helpFile)));
}

}  // namespace oplix::ui
