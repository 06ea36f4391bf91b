// The main window: its menus, its keyboard and its two window modes.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "ui/main/LocalPath.h"
#include "ui/main/MainWindow.h"
#include "ui/widgets/MenuCaption.h"

using oplix::ui::MainWindow;
using oplix::ui::MenuCaption;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        window_ = new MainWindow();
        window_->ApplyWindowMode(0);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() {
        window_->Quit();
        delete window_;
    }

    // What a file manager hands over on the command line or in a drop.
    void testFileArgumentBecomesALocalPath_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain path") << "/home/uczen/Testy/a b.skt"
                                    << "/home/uczen/Testy/a b.skt";
        QTest::newRow("plain path with % and #") << "/tmp/50%20#1.skt"
                                                 << "/tmp/50%20#1.skt";
        QTest::newRow("relative path") << "Testy/Figury.skt"
                                       << "Testy/Figury.skt";
        QTest::newRow("file address") << "file:///home/uczen/Figury.skt"
                                      << "/home/uczen/Figury.skt";
        QTest::newRow("encoded Polish letters and space")
            << "file:///home/uczen/%C5%81%C3%B3d%C5%BA%20test.skt"
            << QString::fromUtf8("/home/uczen/Łódź test.skt");
        QTest::newRow("localhost") << "file://localhost/tmp/x.skt"
                                   << "/tmp/x.skt";
        QTest::newRow("another host is a network path") << "file://serwer/testy/x.skt"
                                                        << "//serwer/testy/x.skt";
        QTest::newRow("web address stays") << "https://example.org/x.skt"
                                           << "https://example.org/x.skt";
    }
    void testFileArgumentBecomesALocalPath() {
        QFETCH(QString, argument);
        QFETCH(QString, path);
        QCOMPARE(oplix::ui::LocalPath(argument), path);
    }

    void keysWithExactModifiers_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("copyMethod");    // -1: no signal
        QTest::addColumn<int>("journalLevel");  // -1: no signal
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        const int ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
        QTest::newRow("Ctrl+Shift+1") << int(Qt::Key_1) << ctrlShift << 1 << -1;
        QTest::newRow("Ctrl+Shift+4 as typed ($)") << int(Qt::Key_Dollar) << ctrlShift << 4 << -1;
        QTest::newRow("Ctrl+Shift+7") << int(Qt::Key_7) << ctrlShift << -1 << -1;
        QTest::newRow("Ctrl+Shift+keypad 2")
            << int(Qt::Key_2) << int(ctrlShift | Qt::KeypadModifier) << -1 << -1;
        QTest::newRow("Ctrl+Alt+0") << int(Qt::Key_0) << ctrlAlt << -1 << 0;
        QTest::newRow("Ctrl+Alt+4") << int(Qt::Key_4) << ctrlAlt << -1 << 4;
        QTest::newRow("Ctrl+Alt+5") << int(Qt::Key_5) << ctrlAlt << -1 << -1;
        QTest::newRow("Ctrl+Alt+Shift+1")
            << int(Qt::Key_1) << int(ctrlAlt | Qt::ShiftModifier) << -1 << -1;
    }
    void keysWithExactModifiers() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, copyMethod);
        QFETCH(int, journalLevel);
        QSignalSpy copy(window_, &MainWindow::copyMethodKey);
        QSignalSpy level(window_, &MainWindow::journalLevelKey);
        QTest::keyClick(window_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(copy.size(), copyMethod < 0 ? 0 : 1);
        QCOMPARE(level.size(), journalLevel < 0 ? 0 : 1);
        if (copyMethod >= 0) {
            QCOMPARE(copy.front().front().toInt(), copyMethod);
        }
        if (journalLevel >= 0) {
            QCOMPARE(level.front().front().toInt(), journalLevel);
        }
    }

    void functionKeys() {
        QSignalSpy help(window_, &MainWindow::helpRequested);
        QSignalSpy mode(window_, &MainWindow::windowModeSwitched);
        QTest::keyClick(window_, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(window_, Qt::Key_F2, Qt::ControlModifier);
        QTest::keyClick(window_, Qt::Key_F2);
        QTest::keyClick(window_, Qt::Key_F4, Qt::AltModifier);
        QCOMPARE(help.size(), 1);
        QCOMPARE(mode.size(), 1);
        QCOMPARE(mode.front().at(0).toInt(), 1);
        QCOMPARE(mode.front().at(1).toBool(), false);  // Ctrl+F2 does not store
        QVERIFY(window_->isVisible());
        window_->close();  // as the window manager's close would
        QVERIFY(window_->isVisible());
    }

    void menusOpenSwitchAndClose() {
        Click(QPoint(40, 144));  // the tests menu
        QVERIFY(Caption("Chcę rozwiązać test z listy anonimowo")->isVisible());
        QVERIFY(!Caption("O programie")->isVisible());
        Click(QPoint(9 + 20, 130 + 118));  // its switch to the help menu
        QVERIFY(Caption("O programie")->isVisible());
        QVERIFY(!Caption("Chcę rozwiązać test z listy anonimowo")->isVisible());
        Click(QPoint(9 + 20, 130 + 14));  // back to the tests menu
        QVERIFY(Caption("Chcę rozwiązać test z listy anonimowo")->isVisible());
        Click(QPoint(600, 100));  // the main picture closes both
        QVERIFY(!Caption("Chcę rozwiązać test z listy anonimowo")->isVisible());
        QVERIFY(!Caption("O programie")->isVisible());
    }

    void entryUnderTheMouseIsHighlightedAndStarts() {
        Click(QPoint(40, 144));
        MenuCaption* first = Caption("Chcę rozwiązać test korzystając z list");
        MenuCaption* second = Caption("Chcę rozwiązać test z pliku jako uczeń");
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(first, &enter);
        QVERIFY(first->isHighlighted());
        QApplication::sendEvent(second, &enter);
        QVERIFY(!first->isHighlighted());
        QVERIFY(second->isHighlighted());
        QVERIFY(Description().startsWith(QStringLiteral("Jeśli chcesz rozwiązać test który nie")));
        QSignalSpy start(window_, &MainWindow::startNamedWithFile);
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(start.size(), 1);
        QVERIFY(!second->isVisible());  // choosing an entry closes the menu
        QVERIFY(Description().isEmpty());
    }

    // Each entry of the two menus asks for its own action, and for no other.
    void everyMenuEntryAsksForItsAction_data() {
        QTest::addColumn<bool>("helpMenu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("action");
        QTest::newRow("both lists") << false << "Chcę rozwiązać test korzystając z list"
                                    << QByteArray(SIGNAL(startWithBothLists()));
        QTest::newRow("tests list") << false << "Chcę rozwiązać test z listy anonimowo"
                                    << QByteArray(SIGNAL(startFromTestsList()));
        QTest::newRow("pupil and file") << false << "Chcę rozwiązać test z pliku jako uczeń"
                                        << QByteArray(SIGNAL(startNamedWithFile()));
        QTest::newRow("file") << false << "Chcę rozwiązać test z pliku anonimowo"
                              << QByteArray(SIGNAL(startFromFile()));
        QTest::newRow("about") << true << "O programie" << QByteArray(SIGNAL(aboutRequested()));
        QTest::newRow("help") << true << "Pomoc                 F1          "
                              << QByteArray(SIGNAL(helpRequested()));
        QTest::newRow("home page")
            << true << "Strona domowa" << QByteArray(SIGNAL(homePageRequested()));
    }
    void everyMenuEntryAsksForItsAction() {
        QFETCH(bool, helpMenu);
        QFETCH(QString, caption);
        QFETCH(QByteArray, action);
        const char* const actions[] = {SIGNAL(startWithBothLists()), SIGNAL(startFromTestsList()),
                                       SIGNAL(startNamedWithFile()), SIGNAL(startFromFile()),
                                       SIGNAL(aboutRequested()),     SIGNAL(helpRequested()),
                                       SIGNAL(homePageRequested())};
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char* signal : actions) {
            spies.push_back(std::make_unique<QSignalSpy>(window_, signal));
        }
        Click(QPoint(40, 144));  // the tests menu
        if (helpMenu) {
            Click(QPoint(9 + 20, 130 + 118));  // its switch to the help menu
        }
        MenuCaption* entry = Caption(caption.toUtf8().constData());
        QVERIFY(entry != nullptr && entry->isVisible());
        QTest::mouseClick(entry, Qt::LeftButton);
        for (std::size_t index = 0; index < std::size(actions); ++index) {
            QCOMPARE(spies[index]->size(), QByteArray(actions[index]) == action ? 1 : 0);
        }
    }

    // On the offscreen platform's work area the panel is centred; in mode 1 the window fills
    // the work area and the backdrop is centred around the panel.
    void windowModes() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const int width = area.x() + area.width();
        const int height = area.y() + area.height();
        window_->ApplyWindowMode(1);
        QCOMPARE(window_->size(), QSize(width, height));
        QCOMPARE(window_->Panel()->pos(), QPoint((width - 790) / 2, (height - 581) / 2));
        window_->ApplyWindowMode(7);  // changes nothing
        QCOMPARE(window_->WindowMode(), 1);
        window_->ApplyWindowMode(0);
        QCOMPARE(window_->size(), QSize(790, 581));
        QCOMPARE(window_->Panel()->pos(), QPoint(0, 0));
    }

    void titleStripDragsOnlyInModeZero() {
        const QPoint before = window_->pos();
        Drag(QPoint(100, 12), QPoint(30, 20));
        QCOMPARE(window_->pos(), before + QPoint(30, 20));
        window_->ApplyWindowMode(1);
        const QPoint filled = window_->pos();
        Drag(window_->Panel()->mapTo(window_, QPoint(100, 12)), QPoint(30, 20));
        QCOMPARE(window_->pos(), filled);
    }

private:
    void Click(QPoint at) {
        QWidget* target = window_->childAt(at);
        QVERIFY(target != nullptr);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(window_, at));
    }
    void Drag(QPoint at, QPoint by) {
        QWidget* strip = window_->childAt(at);
        const QPoint local = strip->mapFrom(window_, at);
        QTest::mousePress(strip, Qt::LeftButton, Qt::NoModifier, local);
        QMouseEvent move(QEvent::MouseMove, QPointF(local + by),
                         QPointF(strip->mapToGlobal(local + by)), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(strip, &move);
        QTest::mouseRelease(strip, Qt::LeftButton, Qt::NoModifier, local + by);
    }
    MenuCaption* Caption(const char* text) {
        for (MenuCaption* caption : window_->findChildren<MenuCaption*>()) {
            if (caption->text() == QString::fromUtf8(text)) {
                return caption;
            }
        }
        return nullptr;
    }
    QString Description() {
        for (QLabel* label : window_->findChildren<QLabel*>()) {
            if (label->geometry() == QRect(296, 344, 361, 137)) {
                return label->text();
            }
        }
        return QStringLiteral("<none>");
    }

    MainWindow* window_ = nullptr;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
