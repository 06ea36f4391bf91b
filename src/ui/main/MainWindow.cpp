#include "ui/main/MainWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include "ui/widgets/ClickArea.h"
#include "ui/widgets/MenuCaption.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/WindowDragger.h"

namespace oplix::ui {
namespace {

constexpr QSize kBackdropSize{1920, 1200};

QLabel* AddPicture(QWidget* parent, const QRect& rectangle, SkinPictureId skin) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(rectangle);
    picture->setPixmap(QPixmap::fromImage(LoadSkinPicture(skin)));
    return picture;
}

// The digit of a key on the main keyboard's digit row, also when Shift turned it into a
// symbol; -1 for any other key (the numeric keypad included).
int MainRowDigit(const QKeyEvent& event) {
    if (event.modifiers() & Qt::KeypadModifier) {
        return -1;
    }
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return key - Qt::Key_0;
    }
    static const QString shifted = QStringLiteral(")!@#$%^&*(");
    const int symbol = key < 0x80 ? static_cast<int>(shifted.indexOf(QChar(key))) : -1;
    if (symbol >= 0) {
        return symbol;
    }
    const quint32 scanCode = event.nativeScanCode();  // X11: keycodes 10-19 are 1-9, 0
    if (scanCode >= 10 && scanCode <= 19) {
        return static_cast<int>((scanCode - 9) % 10);
    }
    return -1;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAcceptDrops(true);
    // The backdrop is decoded when window mode 1 first needs it.
    backdrop_ = new QLabel(this);
    backdrop_->setObjectName(QStringLiteral("ImTloBig"));
    backdrop_->setGeometry(QRect(QPoint(0, 0), kBackdropSize));
    backdrop_->hide();
    BuildPanel();
    qApp->installEventFilter(this);
    setFixedSize(kPanelSize);
}

void MainWindow::BuildPanel() {
    panel_ = new QWidget(this);
    panel_->setGeometry(QRect(QPoint(0, 0), kPanelSize));
    auto* picture = new ClickArea(panel_, panel_->rect());
    picture->setCursor(Qt::ArrowCursor);
    auto* skin = AddPicture(picture, picture->rect(), SkinPictureId::OknoGlowne);
    skin->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(picture, &ClickArea::clicked, this, &MainWindow::CloseMenus);

    auto* strip = new ClickArea(panel_, QRect(16, 6, 617, 17));
    strip->setCursor(Qt::ArrowCursor);
    dragger_ = new WindowDragger(this, strip);
    auto* enlarge = new ClickArea(panel_, QRect(667, 9, 19, 11));
    connect(enlarge, &ClickArea::clicked, this,
            [this] { emit windowModeSwitched(mode_ == 0 ? 1 : 0, true); });
    auto* minimise = new ClickArea(panel_, QRect(715, 8, 19, 11));
    connect(minimise, &ClickArea::clicked, this, [this] { showMinimized(); });
    auto* close = new ClickArea(panel_, QRect(744, 8, 19, 11));
    connect(close, &ClickArea::clicked, this, &MainWindow::Quit);

    auto* openTests = new ClickArea(panel_, QRect(17, 137, 129, 15));
    auto* openHelp = new ClickArea(panel_, QRect(17, 161, 129, 17));
    description_ = new QLabel(panel_);
    description_->setGeometry(296, 344, 361, 137);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description_->setFont(SkinFont(8));
    SetTextColour(description_, DarkGrey());
    testsMenu_ = BuildTestsMenu();
    helpMenu_ = BuildHelpMenu();
    connect(openTests, &ClickArea::clicked, this, [this] { ShowMenu(testsMenu_); });
    connect(openHelp, &ClickArea::clicked, this, [this] { ShowMenu(helpMenu_); });
    CloseMenus();
}

QWidget* MainWindow::BuildTestsMenu() {
    QWidget* menu = AddPicture(panel_, QRect(9, 130, 250, 135), SkinPictureId::MenuTesty);
    menu->setMouseTracking(true);
    menu->installEventFilter(this);
    const auto start = [this](void (MainWindow::*signal)()) {
        return [this, signal] {
            CloseMenus();
            emit(this->*signal)();
        };
    };
    AddEntry(menu, testsEntries_, QRect(15, 36, 208, 14),
             QStringLiteral("Chcę rozwiązać test korzystając z list"),
             QStringLiteral("Jeśli jesteś na liście użytkowników a test,\nktóry chcesz rozwiązać "
                            "jest na liście testów,\nwówczas możesz skorzystać z tej opcji.\n\n"
                            "Wynik twojego testu zostanie przesłany do analizy."),
             start(&MainWindow::startWithBothLists));
    AddEntry(menu, testsEntries_, QRect(15, 51, 208, 14),
             QStringLiteral("Chcę rozwiązać test z listy anonimowo"),
             QStringLiteral("Jeśli chcesz rozwiązać test który jest\ndołączony do listy testów "
                            "jako anonimowy użytkownik,\nkorzystasz z tej opcji.\n\nPo "
                            "rozwiązaniu testu możesz zapisać wynik, ale nie musisz."),
             start(&MainWindow::startFromTestsList));
    AddEntry(menu, testsEntries_, QRect(15, 66, 208, 14),
             QStringLiteral("Chcę rozwiązać test z pliku jako uczeń"),
             QStringLiteral("Jeśli chcesz rozwiązać test który nie jest\ndołączony do listy "
                            "testów, ale twoje nazwisko jest\nna liście użytkowników, korzystasz "
                            "z tej opcji.\n\nWynik twojego testu zostanie przesłany do analizy."),
             start(&MainWindow::startNamedWithFile));
    AddEntry(menu, testsEntries_, QRect(15, 82, 208, 14),
             QStringLiteral("Chcę rozwiązać test z pliku anonimowo"),
             QStringLiteral("Jeśli chcesz rozwiązać test który nie jest\ndołączony do listy "
                            "testów jako anonimowy użytkownik,\nkorzystasz z tej opcji.\n\nPo "
                            "rozwiązaniu testu możesz zapisać wynik, ale nie musisz."),
             start(&MainWindow::startFromFile));
    auto* toHelp = new ClickArea(menu, QRect(8, 113, 129, 14));
    connect(toHelp, &ClickArea::clicked, this, [this] {
        ResetColours();
        ShowMenu(helpMenu_);
    });
    return menu;
}

QWidget* MainWindow::BuildHelpMenu() {
    QWidget* menu = AddPicture(panel_, QRect(9, 130, 250, 135), SkinPictureId::MenuPomoc);
    menu->setMouseTracking(true);
    menu->installEventFilter(this);
    auto* toTests = new ClickArea(menu, QRect(8, 9, 129, 14));
    connect(toTests, &ClickArea::clicked, this, [this] {
        ResetColours();
        ShowMenu(testsMenu_);
    });
    AddEntry(menu, helpEntries_, QRect(15, 65, 120, 16), QStringLiteral("O programie"),
             QStringLiteral("Krótka informacja o programie.\n\nKto, kiedy, wersja programu."),
             [this] {
                 ResetColours();
                 emit aboutRequested();
             });
    AddEntry(menu, helpEntries_, QRect(15, 82, 114, 14),
             QStringLiteral("Pomoc                 F1          "),
             QStringLiteral("Pomoc do programu.\nPomoc do programu z którym pracujesz.\n\nMasz "
                            "pytania, wątpliwości - najpierw zajrzyj tutaj."),
             [this] { emit helpRequested(); });
    AddEntry(menu, helpEntries_, QRect(15, 97, 114, 14), QStringLiteral("Strona domowa"),
             QStringLiteral("Strona domowa programu.\nTu znajdzisz szereg innych programów "
                            "edukacyjnych\ni rozrywkowych dla intelektualistów.\n\nZapraszamy."),
             [this] {
                 ResetColours();
                 emit homePageRequested();
             });
    return menu;
}

void MainWindow::AddEntry(QWidget* menu, std::vector<MenuEntry>& entries, const QRect& rectangle,
                          const QString& caption, const QString& description,
                          std::function<void()> action) {
    auto* label = new MenuCaption(menu, rectangle, caption);
    entries.push_back({label, description});
    connect(label, &MenuCaption::clicked, this, std::move(action));
    connect(label, &MenuCaption::entered, this, [this, &entries, label] {
        for (const MenuEntry& entry : entries) {
            if (entry.caption == label) {
                Highlight(entries, entry);
            }
        }
    });
}

void MainWindow::Highlight(std::vector<MenuEntry>& entries, const MenuEntry& chosen) {
    for (const MenuEntry& entry : entries) {
        entry.caption->setHighlighted(entry.caption == chosen.caption &&
                                      entry.caption->isVisible());
    }
    description_->setText(chosen.description);
}

void MainWindow::ResetColours() {
    for (auto* entries : {&testsEntries_, &helpEntries_}) {
        for (const MenuEntry& entry : *entries) {
            entry.caption->setHighlighted(false);
        }
    }
}

void MainWindow::ShowMenu(QWidget* menu) {
    ResetColours();
    testsMenu_->setVisible(menu == testsMenu_);
    helpMenu_->setVisible(menu == helpMenu_);
    menu->raise();
    description_->clear();
}

void MainWindow::CloseMenus() {
    ResetColours();
    testsMenu_->hide();
    helpMenu_->hide();
    description_->clear();
}

void MainWindow::SetTestPanel(QWidget* testPanel, ClickArea* titleStrip) {
    dragger_->attach(titleStrip);
    testPanel_ = testPanel;
    testPanel_->setParent(this);
    testPanel_->setGeometry(panel_->geometry());
    testPanel_->hide();
}

QPoint MainWindow::PanelOrigin() const {
    return mapToGlobal(panel_->pos());
}

void MainWindow::ApplyWindowMode(int mode) {
    if (mode != 0 && mode != 1) {
        return;
    }
    mode_ = mode;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 790, 581);
    // The work area's right and bottom edges are taken as its width and height.
    const int width = area.x() + area.width();
    const int height = area.y() + area.height();
    const QPoint centred((width - kPanelSize.width()) / 2, (height - kPanelSize.height()) / 2);
    if (mode == 0) {
        backdrop_->hide();
        panel_->move(0, 0);
        setFixedSize(kPanelSize);
        move(centred);
    } else {
        if (backdrop_->pixmap().isNull()) {
            backdrop_->setPixmap(QPixmap::fromImage(LoadSkinPicture(SkinPictureId::TloBig)));
        }
        setFixedSize(width, height);
        move(0, 0);
        backdrop_->move((width - kBackdropSize.width()) / 2, (height - kBackdropSize.height()) / 2);
        backdrop_->show();
        backdrop_->lower();
        panel_->move(centred);
    }
    dragger_->setEnabled(mode == 0);
    if (testPanel_ != nullptr) {
        testPanel_->move(panel_->pos());
    }
}

void MainWindow::Quit() {
    quitting_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Alt+F4 and the window manager's close do not end the program; the close area does.
    if (quitting_) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        return HandleKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::MouseMove && (watched == testsMenu_ || watched == helpMenu_)) {
        ResetColours();
        description_->clear();
    }
    return QWidget::eventFilter(watched, event);
}

// The window sees every key before its controls. True when the key is taken here.
bool MainWindow::HandleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_F4 && modifiers == Qt::AltModifier) {
        return true;
    }
    if (key == Qt::Key_F1) {
        emit helpRequested();
        return true;
    }
    if (key == Qt::Key_F2 && modifiers == Qt::ControlModifier) {
        emit windowModeSwitched(mode_ == 0 ? 1 : 0, false);
        return true;
    }
    const int digit = MainRowDigit(*event);
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (digit >= 1 && digit <= 4) {
            emit copyMethodKey(digit);
        }
        return true;
    }
    if (modifiers == (Qt::ControlModifier | Qt::AltModifier)) {
        if (digit >= 0 && digit <= 4) {
            emit journalLevelKey(digit);
        }
        return true;
    }
    return false;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

// The dropped addresses go on as they came, to be read as a command-line argument is; the test
// starts after the drop has returned, so that the file manager is not kept waiting meanwhile.
void MainWindow::dropEvent(QDropEvent* event) {
    QStringList addresses;
    for (const QUrl& url : event->mimeData()->urls()) {
        addresses.push_back(url.toString(QUrl::FullyEncoded));
    }
    event->acceptProposedAction();
    if (!addresses.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, addresses] { emit filesDropped(addresses); }, Qt::QueuedConnection);
    }
}

}  // namespace oplix::ui
