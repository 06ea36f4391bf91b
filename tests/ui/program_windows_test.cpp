// The whole program's windows as the program makes them, in a scratch home: a test file from
// the command line and from a drop, the window modes and the keys that store settings, the
// minute timer ticking inside a box, a failed start over a running test and a named pupil's
// result filed under his own class.
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "app/SettingsFile.h"
#include "formats/ResultFileReader.h"
#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "storage/Cp1250.h"
#include "testing/TestSession.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PolishTranslations.h"
#include "ui/main/ProgramWindows.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/TestPanel.h"
#include "ui/widgets/ComboBox97.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/TextBox.h"
#include "ui/windows/ListTree.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui_test_support.h"

using namespace oplix;
using namespace oplix::ui;
using namespace oplix::ui_testing;

namespace {

const QString kWrongType =
    QStringLiteral("\nModuł Test nie obsługuje plików tego typu.\nWskaż pliki testu.");
const QString kLeaveQuestion =
    QStringLiteral("Nie dokończyłeś pracy z testem.\nCzy rzeczywiście zamknąć?");
const QString kFallingBack = QStringLiteral(
    "Problemy z zapisem pliku wyniku we wskazanym folderze.\nWynik zostanie zapisany w folderze "
    "osobistym.");

// A pupil's home in a scratch folder: the program's data folder with a Test.ini of the test's
// making (the journal at its most detailed level), a documents folder, and the program itself,
// made and prepared as main() does.
class Desk {
public:
    explicit Desk(const std::function<void(Settings&)>& adjust = {}) {
        const QByteArray root = home_.path().toUtf8();
        qputenv("HOME", root);
        qputenv("XDG_DATA_HOME", root + "/.local/share");
        qputenv("XDG_CONFIG_HOME", root + "/.config");
        QDir(home_.path()).mkpath(QStringLiteral("Documents"));
        QDir(home_.path()).mkpath(QStringLiteral(".local/share/Pelmar/Oplix/Test"));
        ResetSettingsToDefaults(settings);
        settings.dfpz = 3;
        settings.opl = false;
        if (adjust) {
            adjust(settings);
        }
        FixedClock clock;
        Journal quiet(clock);
        written = WriteWholeSettingsFile(SettingsFile(), settings, quiet);
    }
    ~Desk() {
        if (windows != nullptr) {
            windows->Main().Quit();
        }
    }

    // The program's windows made, before anything is shown.
    ProgramWindows& Make() {
        windows = std::make_unique<ProgramWindows>();
        return *windows;
    }
    // The program started with `arguments` (made first unless it was), every window made; false
    // when it did not get there.
    bool Start(const QStringList& arguments = {}) {
        if (windows == nullptr) {
            Make();
        }
        windows->Prepare(arguments);
        return QTest::qWaitFor([this] { return windows->IsReady(); }, 5000) &&
               QTest::qWaitForWindowExposed(&windows->Main());
    }

    std::string Home() const { return home_.path().toStdString(); }
    std::string File(const std::string& name) const { return Home() + "/" + name; }
    std::string DataFolder() const { return Home() + "/.local/share/Pelmar/Oplix/Test"; }
    std::string SettingsFile() const { return DataFolder() + "/Test.ini"; }
    std::string Documents() const { return Home() + "/Documents"; }

    std::string WriteTest(const TestDocument& test, const std::string& name) const {
        const std::string path = File(name);
        return WriteTest40(path, test, Test40Options{}) ? path : std::string();
    }

    Settings Stored() const {
        Settings stored;
        ReadSettingsFile(SettingsFile(), stored);
        return stored;
    }

    // The journal's messages without their " - date time" part.
    QStringList Journalled() const {
        QFile file(QString::fromStdString(DataFolder() + "/Dziennik.txt"));
        QStringList messages;
        if (!file.open(QIODevice::ReadOnly)) {
            return messages;
        }
        const QByteArray bytes = file.readAll();
        const QString text = QString::fromStdString(Cp1250ToUtf8(bytes.toStdString()));
        for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            messages << line.left(line.lastIndexOf(QStringLiteral(" - ")));
        }
        return messages;
    }

    TestPanel* Panel() const {
        return windows->Main().findChild<TestPanel*>(QStringLiteral("PTest"));
    }
    bool TestShown() const { return Panel() != nullptr && Panel()->isVisible(); }

    Settings settings;
    bool written = false;
    std::unique_ptr<ProgramWindows> windows;

private:
    QTemporaryDir home_;
};

// The message box's text as the pupil reads it.
QString BoxText(ProgramWindows& windows) {
    auto* text = windows.Messages().findChild<QLabel*>(QStringLiteral("LTekstWarning"));
    return text != nullptr ? text->text() : QStringLiteral("(no text)");
}

// Closes every box that opens from now on with Enter, noting its text, until the answerer is
// dropped.
class BoxAnswerer {
public:
    explicit BoxAnswerer(ProgramWindows& windows) : windows_(windows) { Watch(); }
    ~BoxAnswerer() { *alive_ = false; }
    QStringList texts;

private:
    void Watch() {
        QTimer::singleShot(10, qApp, [this, alive = alive_] {
            if (!*alive) {
                return;
            }
            if (windows_.Messages().isVisible()) {
                texts << BoxText(windows_);
                QTest::keyClick(&windows_.Messages(), Qt::Key_Return);
            }
            Watch();
        });
    }

    ProgramWindows& windows_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

void ClickAt(QWidget* window, QPoint at) {
    QWidget* target = window->childAt(at);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(window, at));
}

void Drag(QWidget* strip, QPoint by) {
    const QPoint local(20, 5);
    QTest::mousePress(strip, Qt::LeftButton, Qt::NoModifier, local);
    QMouseEvent move(QEvent::MouseMove, QPointF(local + by),
                     QPointF(strip->mapToGlobal(local + by)), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    QTest::mouseRelease(strip, Qt::LeftButton, Qt::NoModifier, local + by);
}

void DropAddress(MainWindow& window, const QString& address) {
    QMimeData data;
    data.setUrls({QUrl(address)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

// The test panel's answer tile of a slot, clicked.
void ClickTile(TestPanel* panel, int slot) {
    QWidget* tile = panel->findChild<QWidget*>(QStringLiteral("ImOdp%1").arg(slot));
    QVERIFY(tile != nullptr);
    QTest::mouseClick(tile, Qt::LeftButton);
}

// Classes 4a (Jan Kowalski), whose results folder is given, and 4b (Ewa Nowak), with a folder of
// its own; a tests list of one test, "Przyroda"; both lists named in the settings.
bool WriteSchool(Desk& desk, const std::string& folderOf4a, const TestDocument& test) {
    StudentsList school;
    school.listType = "Szkoła";
    school.classCount = 2;
    for (const char* name : {"4a", "4b"}) {
        ClassRecord& record = school.classes.emplace_back();
        record.className = name;
        record.resultFolder = desk.File(std::string("wyniki_") + name);
        record.classTime = "0";
        record.pupilCount = 1;
        QDir().mkpath(QString::fromStdString(record.resultFolder));
    }
    school.classes[0].resultFolder = folderOf4a;
    school.classes[0].pupils[0] = {"Jan", "Kowalski"};
    school.classes[1].pupils[0] = {"Ewa", "Nowak"};
    desk.settings.scl = desk.File("Szkola.sku");
    desk.settings.sct = desk.File("Testy.skg");
    TestsList tests;
    tests.entries = {"1*0*0*0*1*0*Przyroda*\\przyroda.skt*"};
    FixedClock clock;
    Journal quiet(clock);
    return WriteStudentsList40(desk.settings.scl, school, false, false).ok() &&
           WriteTestsList40(desk.settings.sct, tests, false, false).ok() &&
           !desk.WriteTest(test, "przyroda.skt").empty() &&
           WriteWholeSettingsFile(desk.SettingsFile(), desk.settings, quiet);
}

// From the tests menu, the both-lists window: Jan Kowalski of 4a chosen, then 4b looked at,
// then the test chosen and accepted. True when the window was there to be used.
bool ChooseFromBothLists(Desk& desk) {
    bool accepted = false;
    QTimer::singleShot(0, qApp, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            return;
        }
        auto* list = window->findChild<QListWidget*>(QStringLiteral("BLista"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        auto* classes = window->findChild<ComboBox97*>(QStringLiteral("CListaKlas"));
        classes->setFocus();
        QTest::keyClick(classes, Qt::Key_Down);  // 4b shown
        auto* tree = window->findChild<QWidget*>(QStringLiteral("ImDrzewo"));
        const QPoint row(40, ::oplix::ListTree::kFirstRowTop + 8);
        QTest::mousePress(tree, Qt::LeftButton, {}, row);
        QTest::mouseRelease(tree, Qt::LeftButton, {}, row);
        accepted = classes->currentIndex() == 1;
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("LWprowadz")), Qt::LeftButton);
    });
    MainWindow& main = desk.windows->Main();
    ClickAt(main.Panel(), QPoint(40, 144));           // the tests menu
    ClickAt(main.Panel(), QPoint(9 + 40, 130 + 42));  // "Chcę rozwiązać test korzystając z list"
    return accepted && desk.TestShown();
}

// Closes the summary when it opens next.
void CloseTheSummary(bool* shown = nullptr) {
    QTimer::singleShot(0, qApp, [shown] {
        auto* summary = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (summary != nullptr && summary->objectName() == QLatin1String("TFPodsumowanie")) {
            if (shown != nullptr) {
                *shown = true;
            }
            summary->accept();
        }
    });
}

}  // namespace

class ProgramWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineTestFile_data();
    void commandLineTestFile();
    void droppedAddressStartsAfterTheDrop();
    void modeOneFromTheFirstShowing();
    void enlargeStoresTheModeAndCtrlF2DoesNot_data();
    void enlargeStoresTheModeAndCtrlF2DoesNot();
    void settingKeysReachTheSettingsFile();
    void failedStartLeavesTheRunningTimedTest();
    void minuteTickInsideTheLeaveQuestionWaitsForIt();
    void namedPupilsResultGoesToHisOwnClassFolder();
    void aboutWindowFromAMainWindowAtTheEdgeStaysInTheWorkArea();
    void fileDialogsSpeakPolish();
};

void ProgramWindowsTest::commandLineTestFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("journalled");
    QTest::newRow(".skt") << "Figury.skt" << true << true << QStringList()
                          << "Wczytano plik Figury.skt.";
    QTest::newRow(".SKT") << "FIGURY.SKT" << true << true << QStringList()
                          << "Wczytano plik FIGURY.SKT.";
    QTest::newRow(".txt") << "notatki.txt" << true << false << QStringList{kWrongType}
                          << "Próba otwarcia pliku innego typu przez dwuklik.";
    QTest::newRow("missing") << "brak.skt" << false << false << QStringList()
                             << "Brak pliku na wskazanej ścieżce.";
}

void ProgramWindowsTest::commandLineTestFile() {
    QFETCH(QString, name);
    QFETCH(bool, written);
    QFETCH(bool, starts);
    QFETCH(QStringList, boxes);
    QFETCH(QString, journalled);
    Desk desk;
    QVERIFY(desk.written);
    std::string path = desk.File(name.toStdString());
    if (written) {
        path = desk.WriteTest(SmallTest(2, 3), name.toStdString());
        QVERIFY(!path.empty());
    }
    // The box of a wrong file opens while the program gets ready.
    BoxAnswerer answerer(desk.Make());
    QVERIFY(desk.Start({QString::fromStdString(path)}));
    QTRY_COMPARE(answerer.texts, boxes);
    QCOMPARE(desk.TestShown(), starts);
    QCOMPARE(desk.windows->Session().Mode(),
             starts ? StartMode::TestFileAnonymously : StartMode::None);
    QVERIFY2(desk.Journalled().contains(journalled), qPrintable(desk.Journalled().join('|')));
}

// A dropped address is read as an argument is (file://localhost names this computer), and the
// test starts after the drop has returned.
void ProgramWindowsTest::droppedAddressStartsAfterTheDrop() {
    Desk desk;
    QVERIFY(desk.Start());
    const std::string path = desk.WriteTest(SmallTest(2, 3), "Łódź 50%.skt");
    QVERIFY(!path.empty());
    const QUrl address = QUrl::fromLocalFile(QString::fromStdString(path));
    DropAddress(desk.windows->Main(),
                QStringLiteral("file://localhost") + address.toString(QUrl::FullyEncoded).mid(7));
    QVERIFY(!desk.TestShown());  // not inside the drop
    QTRY_VERIFY2(desk.TestShown(), qPrintable(desk.Journalled().join('|')));
    QCOMPARE(desk.windows->Session().TestPath(), path);

    BoxAnswerer boxes(*desk.windows);
    DropAddress(desk.windows->Main(),
                QUrl::fromLocalFile(QString::fromStdString(desk.File("notatki.txt"))).toString());
    QTRY_COMPARE(boxes.texts, QStringList{kWrongType});
    QVERIFY(desk.TestShown());  // the running test stays
}

// Started in mode 1: the backdrop is painted around the panel, and neither title strip drags.
void ProgramWindowsTest::modeOneFromTheFirstShowing() {
    Desk desk([](Settings& settings) { settings.wo = 1; });
    QVERIFY(desk.Start());
    MainWindow& main = desk.windows->Main();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize filled(area.x() + area.width(), area.y() + area.height());
    QCOMPARE(main.size(), filled);
    const QImage shot = main.grab().toImage();
    const QImage backdrop = LoadSkinPicture(SkinPictureId::TloBig);
    const QPoint backdropAt((filled.width() - 1920) / 2, (filled.height() - 1200) / 2);
    for (const QPoint at : {QPoint(3, 3), QPoint(filled.width() - 4, filled.height() - 4)}) {
        QCOMPARE(shot.pixelColor(at), backdrop.pixelColor(at - backdropAt));
    }

    const QPoint before = main.pos();
    Drag(main.Panel()->childAt(100, 12), QPoint(30, 20));
    QCOMPARE(main.pos(), before);
    const std::string path = desk.WriteTest(SmallTest(2, 3), "test.skt");
    CurrentChoice choice;
    choice.testPath = path;
    choice.mode = StartMode::TestFileAnonymously;
    desk.windows->StartTest(choice);
    QVERIFY(desk.TestShown());
    // The start's record is written within the start, after the first paint.
    QVERIFY(QFileInfo::exists(QString::fromStdString(desk.DataFolder() + "/Przerwany.dat")));
    Drag(desk.Panel()->findChild<QWidget*>(QStringLiteral("LListwa2")), QPoint(30, 20));
    QCOMPARE(main.pos(), before);
}

void ProgramWindowsTest::enlargeStoresTheModeAndCtrlF2DoesNot_data() {
    QTest::addColumn<int>("stored");
    QTest::newRow("mode 0") << 0;
    QTest::newRow("mode out of range") << 7;  // the window stays in mode 0
}

void ProgramWindowsTest::enlargeStoresTheModeAndCtrlF2DoesNot() {
    QFETCH(int, stored);
    Desk desk([stored](Settings& settings) { settings.wo = stored; });
    QVERIFY(desk.Start());
    MainWindow& main = desk.windows->Main();
    QCOMPARE(main.WindowMode(), 0);
    ClickAt(main.Panel(), QPoint(667 + 9, 9 + 5));  // LBig
    QCOMPARE(main.WindowMode(), 1);
    QCOMPARE(desk.Stored().wo, 1);
    QTest::keyClick(&main, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(main.WindowMode(), 0);
    QCOMPARE(desk.Stored().wo, 1);
    ClickAt(main.Panel(), QPoint(667 + 9, 9 + 5));
    QCOMPARE(main.WindowMode(), 1);
    QCOMPARE(desk.Stored().wo, 1);
}

void ProgramWindowsTest::settingKeysReachTheSettingsFile() {
    Desk desk;
    QVERIFY(desk.Start());
    MainWindow& main = desk.windows->Main();
    QTest::keyClick(&main, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(desk.Stored().trc, 3);
    QTest::keyClick(&main, Qt::Key_2, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(desk.Stored().dfpz, 2);
    QCOMPARE(desk.windows->CurrentSettings().dfpz, 2);
}

// A damaged test dropped on a running timed one: the reader's box, and then the running test as
// it was, its mark, its question, its timer.
void ProgramWindowsTest::failedStartLeavesTheRunningTimedTest() {
    Desk desk;
    TestDocument timed = SmallTest(2, 3);
    timed.timeLimit = 10;
    const std::string path = desk.WriteTest(timed, "czasowy.skt");
    QVERIFY(desk.Start({QString::fromStdString(path)}));
    QVERIFY(desk.TestShown());
    ClickTile(desk.Panel(), 2);
    TestSession& session = desk.windows->Session();
    QVERIFY(session.HasChosenAnswer(1));
    emit desk.windows->MinuteTimer().ticked();

    const std::string damaged = desk.File("zly.skt");
    QFile file(QString::fromStdString(damaged));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("PACK\0\0", 6);
    file.close();
    BoxAnswerer boxes(*desk.windows);
    DropAddress(desk.windows->Main(),
                QUrl::fromLocalFile(QString::fromStdString(damaged)).toString());
    QTRY_COMPARE(boxes.texts.size(), 1);
    QVERIFY(desk.TestShown());
    QCOMPARE(session.TestPath(), path);
    QVERIFY(session.IsRunning());
    QVERIFY(session.HasChosenAnswer(1));
    QCOMPARE(session.ElapsedMinutes(), 1);
    QVERIFY(desk.windows->MinuteTimer().IsRunning());
    QCOMPARE(desk.Panel()->findChild<TextBox*>(QStringLiteral("LPytanie"))->toPlainText(),
             QStringLiteral("Pytanie numer 1"));
}

// Time runs out while the leave question is open and the class folder cannot take the result:
// the question stays as it is until answered, the folder's box comes after it, the result goes
// to the documents folder, and the answer "no" keeps the pupil in the graded test.
void ProgramWindowsTest::minuteTickInsideTheLeaveQuestionWaitsForIt() {
    Desk desk([](Settings& settings) {
        settings.al = true;
        settings.wz = true;
    });
    TestDocument timed = SmallTest(2, 3);
    timed.timeLimit = 1;
    QVERIFY(WriteSchool(desk, desk.File("brak/wyniki"), timed));
    QVERIFY(desk.Start());
    QVERIFY(ChooseFromBothLists(desk));
    ProgramWindows& windows = *desk.windows;
    QStringList seen;
    bool summaryShown = false;
    QTimer::singleShot(0, qApp, [&] {  // inside the leave question
        seen << BoxText(windows);
        QTimer::singleShot(0, qApp, [&] {  // the folder's box is waiting
            seen << BoxText(windows);
            QTest::keyClick(&windows.Messages(), Qt::Key_N);
            QTimer::singleShot(0, qApp, [&] {  // the folder's box, shown now
                seen << BoxText(windows);
                CloseTheSummary(&summaryShown);
                QTest::keyClick(&windows.Messages(), Qt::Key_Return);
            });
        });
        emit windows.MinuteTimer().ticked();
    });
    QTest::mouseClick(desk.Panel()->findChild<QWidget*>(QStringLiteral("LZrezygnuj")),
                      Qt::LeftButton);

    QCOMPARE(seen, (QStringList{kLeaveQuestion, kLeaveQuestion, kFallingBack}));
    QVERIFY(summaryShown);
    QVERIFY(desk.TestShown());  // "no": the pupil stays with the graded test
    QVERIFY(windows.Session().IsFinished());
    QVERIFY(windows.Session().EndedByTimer());
    const Result<ResultRecord> result =
        ReadResult(desk.Documents() + "/Próbny test_Kowalski_Jan.sko");
    QVERIFY(result.ok());
    QVERIFY(result->endedByTimeLimit);
}

// The pupil chosen in class 4a, then class 4b looked at: the test runs as 4a's pupil and his
// result lands in 4a's folder.
void ProgramWindowsTest::namedPupilsResultGoesToHisOwnClassFolder() {
    Desk desk;
    QVERIFY(WriteSchool(desk, desk.File("wyniki_4a"), SmallTest(1, 3)));
    QVERIFY(desk.Start());
    QVERIFY(ChooseFromBothLists(desk));
    QVERIFY(desk.Panel()
                ->findChild<QLabel*>(QStringLiteral("LAutorTestu"))
                ->text()
                .startsWith(QStringLiteral("Kowalski Jan rozwiązuje test")));
    ClickTile(desk.Panel(), 1);
    CloseTheSummary();
    QTest::mouseClick(desk.Panel()->findChild<QWidget*>(QStringLiteral("ImOcen")), Qt::LeftButton);
    const Result<ResultRecord> result =
        ReadResult(desk.File("wyniki_4a/Próbny test_Kowalski_Jan.sko"));
    QVERIFY(result.ok());
    QCOMPARE(result->surname, std::string("Kowalski"));
    QVERIFY(QDir(QString::fromStdString(desk.File("wyniki_4b"))).isEmpty());
}

// The main window dragged to the screen's far corner: the about window opens inside the work
// area all the same.
void ProgramWindowsTest::aboutWindowFromAMainWindowAtTheEdgeStaysInTheWorkArea() {
    Desk desk;
    QVERIFY(desk.Start());
    MainWindow& main = desk.windows->Main();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    main.move(area.bottomRight() - QPoint(60, 40));
    QRect shownAt;
    QTimer::singleShot(0, qApp, [&] {
        if (auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shownAt = about->frameGeometry();
            about->reject();
        }
    });
    emit main.aboutRequested();
    QVERIFY(!shownAt.isNull());
    QVERIFY(area.contains(shownAt));
}

void ProgramWindowsTest::fileDialogsSpeakPolish() {
    QVERIFY(LoadPolishTranslations(*qApp));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text().remove(QLatin1Char('&')), QStringLiteral("Nazwa pliku:"));
}

QTEST_MAIN(ProgramWindowsTest)
#include "program_windows_test.moc"
