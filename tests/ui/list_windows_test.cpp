// The three list choice windows as a pupil uses them: the class chooser, the pupil list with
// its bar, the tests tree, the labels, the messages, accept and cancel.
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "formats/StudentsListFile.h"
#include "formats/TestsListFile.h"
#include "ui/widgets/ComboBox97.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/windows/BothListsWindow.h"
#include "ui/windows/ListTree.h"
#include "ui/windows/PupilsListWindow.h"
#include "ui/windows/TestsListWindow.h"
#include "ui_test_support.h"

using namespace oplix;
using namespace oplix::ui;
using namespace oplix::ui_testing;

namespace {

constexpr QPoint kOrigin{40, 30};
constexpr const char* kStudentsUnreadable =
    "Problemy z otwarciem pliku listy uczniów.\rBrak pliku lub plik jest uszkodzony.";
constexpr const char* kStudentsDamaged =
    "Problemy z otwarciem pliku listy uczniów.\rPrawdopodobnie plik jest uszkodzony";
constexpr const char* kTestsUnreadable =
    "Problem z otwarciem pliku listy testów.\rBrak pliku lub plik jest uszkodzony.";

// The texts shown, each checked to be a warning with a single close button.
QStringList CloseWarningTexts(const RecordingMessageBox& messages) {
    QStringList texts;
    for (const testing_fakes::ShownMessage& box : messages.shown) {
        const QString text = QString::fromStdString(box.text);
        const bool warning = box.kind == MessageKind::Close && box.icon == MessageIcon::Warning;
        texts.push_back(warning ? text : QStringLiteral("(not a close warning) ") + text);
    }
    return texts;
}

// Class i has counts[i] pupils; pupil 0 of class 0 is Jan Kowalski.
StudentsList School(const std::vector<int>& counts) {
    StudentsList school;
    school.listType = "Szkoła";
    school.classCount = static_cast<int>(counts.size());
    for (std::size_t c = 0; c < counts.size(); ++c) {
        ClassRecord& record = school.classes.emplace_back();
        record.className = "Klasa " + std::to_string(c + 4);
        record.classTime = "0";
        record.pupilCount = counts[c];
        for (int p = 0; p < counts[c]; ++p) {
            record.pupils[static_cast<std::size_t>(p)] = {
                "Imię" + std::to_string(p),
                "Nazwisko" + std::to_string(c) + "_" + std::to_string(p)};
        }
    }
    if (!counts.empty() && counts[0] > 0) {
        school.classes[0].pupils[0] = {"Jan", "Kowalski"};
    }
    return school;
}

// Row 0: the closed group "Matematyka" of two tests; row 1: the test "Przyroda".
std::vector<std::string> TreeLines() {
    return {"1*0*2*0*1*0*Matematyka**", "2*1*0*1*0*0*Ułamki*\\Mat\\ulamki.skt*",
            "3*1*0*1*0*0*Potęgi*\\Mat\\potegi.skt*", "4*0*0*0*1*0*Przyroda*\\przyroda.skt*"};
}

// Both lists in a scratch folder, and everything the windows are given.
struct Lists {
    explicit Lists(const std::vector<int>& counts = {3, 2},
                   std::vector<std::string> lines = TreeLines()) {
        settings.scl = folder.filePath(QStringLiteral("Szkola.sku")).toStdString();
        settings.sct = folder.filePath(QStringLiteral("Testy.skg")).toStdString();
        written = WriteStudentsList40(settings.scl, School(counts), false, false).ok();
        TestsList tests;
        tests.entries = std::move(lines);
        written = written && WriteTestsList40(settings.sct, tests, false, false).ok();
    }

    ListWindowServices Services() {
        return ListWindowServices{.settings = settings,
                                  .journal = journal,
                                  .clock = clock,
                                  .messages = messages,
                                  .students = students,
                                  .choice = choice,
                                  .origin = [this] { return origin; },
                                  .startTest = [this] { Started(); }};
    }

    void Started() {
        ++starts;
        startedWith = choice;
        windowShownAtStart = window != nullptr && window->isVisible();
    }

    std::string Folder() const { return folder.path().toStdString(); }

    QTemporaryDir folder;
    bool written = false;
    FixedClock clock;
    Journal journal{clock};
    RecordingMessageBox messages;
    Settings settings;
    StudentsList students;
    CurrentChoice choice;
    int starts = 0;
    CurrentChoice startedWith;
    QWidget* window = nullptr;  // the window whose test starts
    QPoint origin = kOrigin;    // the main panel's corner
    bool windowShownAtStart = false;
};

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

template <typename Control = QWidget>
Control* Find(QWidget* window, const char* name) {
    return window->findChild<Control*>(QString::fromLatin1(name));
}

QString LabelText(QWidget* window, const char* name) {
    QLabel* label = Find<QLabel>(window, name);
    return label != nullptr ? label->text() : QStringLiteral("(no label)");
}

void Click(QWidget* window, const char* name) {
    QWidget* control = Find(window, name);
    QVERIFY2(control != nullptr, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

void ClickPupil(QWidget* window, int row) {
    auto* list = Find<QListWidget>(window, "BLista");
    QVERIFY(list != nullptr && row < list->count());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// A press on a row of the tree, as the pupil's mouse makes it.
void PressTreeRow(QWidget* window, int row) {
    auto* surface = Find<TreeSurface>(window, "ImDrzewo");
    QVERIFY(surface != nullptr);
    const QPoint at(40, ::oplix::ListTree::kFirstRowTop + ::oplix::ListTree::kRowHeight * row + 8);
    QTest::mousePress(surface, Qt::LeftButton, {}, at);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
}

void DoubleClickTreeRow(QWidget* window, int row) {
    auto* surface = Find<TreeSurface>(window, "ImDrzewo");
    QVERIFY(surface != nullptr);
    QTest::mouseDClick(
        surface, Qt::LeftButton, {},
        QPoint(40, ::oplix::ListTree::kFirstRowTop + ::oplix::ListTree::kRowHeight * row + 8));
}

bool PanelShown(QWidget* window, const char* name) {
    QWidget* panel = Find(window, name);
    return panel != nullptr && !panel->isHidden();
}

// The three windows made as the program makes them: the tests list draws on the tree the
// both-lists window owns.
struct Windows {
    explicit Windows(Lists& lists)
        : both(lists.Services()), tests(lists.Services(), both.Tree()), pupils(lists.Services()) {}

    QDialog* ByName(const QString& name) {
        if (name == QLatin1String("both")) {
            return &both;
        }
        return name == QLatin1String("tests") ? static_cast<QDialog*>(&tests) : &pupils;
    }
    bool Prepare(const QString& name) {
        if (name == QLatin1String("both")) {
            return both.Prepare();
        }
        return name == QLatin1String("tests") ? tests.Prepare() : pupils.Prepare();
    }
    // Prepared and shown, or null when the preparing failed.
    QDialog* Show(const QString& name) {
        if (!Prepare(name)) {
            return nullptr;
        }
        QDialog* window = ByName(name);
        window->show();
        return window;
    }

    BothListsWindow both;
    TestsListWindow tests;
    PupilsListWindow pupils;
};

}  // namespace

class ListWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void openingShowsNoChoiceAndStandsBesideTheMainPanel_data();
    void openingShowsNoChoiceAndStandsBesideTheMainPanel();
    void unreadableListKeepsTheWindowClosed_data();
    void unreadableListKeepsTheWindowClosed();
    void bothListsAcceptsOnlyPupilAndTest_data();
    void bothListsAcceptsOnlyPupilAndTest();
    void bothListsStartsTheTestAfterClosing();
    void bothListsCancelClearsTheChoice();
    void testsListStartsAnonymouslyOrCancels();
    void pupilsListAcceptsAChosenPupilOrCancels();
    void pupilListOrderFollowsTheSettingLabelDoesNot_data();
    void pupilListOrderFollowsTheSettingLabelDoesNot();
    void pupilBarAppearsAboveTheRowsInView_data();
    void pupilBarAppearsAboveTheRowsInView();
    void pupilBarAndListMoveTogether();
    void classChangeKeepsTheChosenPupil();
    void windowsFromAMainWindowAtTheEdgeStayInTheWorkArea();
    void classWithoutPupilsOffersNone();
    void treePressesChooseTestsAndGroupsKeepThem();
    void treeDoubleClickOpensGroupAndBarScrollsTheSurface();
    void malformedTreeOpensButOffersNoTest();
    void reopeningForgetsTheEarlierChoice();
    void comboBoxLooksFlatUntilHot();
};

void ListWindowsTest::openingShowsNoChoiceAndStandsBesideTheMainPanel_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QString>("pupilLabel");
    QTest::addColumn<QString>("testLabel");
    QTest::newRow("both lists") << "both" << QPoint(173, 61) << "Wybór osoby: brak wyboru. "
                                << "Wybór testu: brak wyboru. ";
    QTest::newRow("tests list") << "tests" << QPoint(280, 61) << QString()
                                << "Wybór testu: brak wyboru. ";
    QTest::newRow("pupils list") << "pupils" << QPoint(280, 61) << "Nie wybrano żadnej osoby. "
                                 << QString();
}

void ListWindowsTest::openingShowsNoChoiceAndStandsBesideTheMainPanel() {
    QFETCH(QString, window);
    QFETCH(QPoint, offset);
    QFETCH(QString, pupilLabel);
    QFETCH(QString, testLabel);
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* shown = windows.Show(window);
    QVERIFY(shown != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QCOMPARE(shown->pos(), kOrigin + offset);
    QVERIFY(shown->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(shown->isModal());
    if (!pupilLabel.isNull()) {
        QCOMPARE(LabelText(shown, "LOsoba"), pupilLabel);
        // The first pupil is highlighted, not chosen.
        QCOMPARE(Find<QListWidget>(shown, "BLista")->currentRow(), 0);
        QCOMPARE(lists.choice.pupilIndex, 0);
        QCOMPARE(lists.choice.classIndex, 0);
        QVERIFY(lists.choice.surname.empty());
        QCOMPARE(Find<ComboBox97>(shown, "CListaKlas")->count(), 2);
    }
    if (!testLabel.isNull()) {
        QCOMPARE(LabelText(shown, "LTest"), testLabel);
    }
    QVERIFY(lists.messages.shown.empty());
}

// With the main window dragged to the screen's far corner, each window opens inside the work
// area, where its accept and cancel areas can be reached.
void ListWindowsTest::windowsFromAMainWindowAtTheEdgeStayInTheWorkArea() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QString& name :
         {QStringLiteral("both"), QStringLiteral("tests"), QStringLiteral("pupils")}) {
        Lists lists;
        QVERIFY(lists.written);
        lists.origin = area.bottomRight() - QPoint(50, 30);
        Windows windows(lists);
        QDialog* shown = windows.Show(name);
        QVERIFY(shown != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QVERIFY2(area.contains(shown->frameGeometry()), qPrintable(name));
        shown->reject();
    }
}

void ListWindowsTest::unreadableListKeepsTheWindowClosed_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("studentsMissing");
    QTest::addColumn<QString>("message");
    QTest::newRow("both lists without pupils") << "both" << true << kStudentsUnreadable;
    QTest::newRow("both lists without tests") << "both" << false << kTestsUnreadable;
    QTest::newRow("tests list without tests") << "tests" << false << kTestsUnreadable;
    QTest::newRow("pupils list without pupils") << "pupils" << true << kStudentsDamaged;
}

void ListWindowsTest::unreadableListKeepsTheWindowClosed() {
    QFETCH(QString, window);
    QFETCH(bool, studentsMissing);
    QFETCH(QString, message);
    Lists lists;
    QVERIFY(lists.written);
    (studentsMissing ? lists.settings.scl : lists.settings.sct) += ".brak";
    lists.choice.testName = "dawny test";
    lists.choice.surname = "Dawny";
    Windows windows(lists);
    QVERIFY(!windows.Prepare(window));
    QVERIFY(!windows.ByName(window)->isVisible());
    QCOMPARE(CloseWarningTexts(lists.messages), QStringList{message});
    QCOMPARE(lists.starts, 0);
    if (window != QLatin1String("pupils")) {
        QVERIFY(lists.choice.testName.empty());
    }
    if (window == QLatin1String("both")) {
        QVERIFY(lists.choice.surname.empty());
        QCOMPARE(lists.choice.classIndex, studentsMissing ? -1 : 0);
    }
}

void ListWindowsTest::bothListsAcceptsOnlyPupilAndTest_data() {
    QTest::addColumn<bool>("choosePupil");
    QTest::addColumn<bool>("chooseTest");
    QTest::newRow("nothing") << false << false;
    QTest::newRow("pupil without a test") << true << false;
    QTest::newRow("test without a pupil") << false << true;
    QTest::newRow("pupil and test") << true << true;
}

void ListWindowsTest::bothListsAcceptsOnlyPupilAndTest() {
    QFETCH(bool, choosePupil);
    QFETCH(bool, chooseTest);
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    if (choosePupil) {
        ClickPupil(window, 1);
    }
    if (chooseTest) {
        PressTreeRow(window, 1);
    }
    Click(window, "LWprowadz");
    if (choosePupil && chooseTest) {
        QVERIFY(lists.messages.shown.empty());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(lists.choice.mode, StartMode::PupilAndTestFromLists);
        QCOMPARE(Text(lists.choice.surname), QStringLiteral("Nazwisko0_1"));
        QCOMPARE(Text(lists.choice.firstName), QStringLiteral("Imię1"));
        QCOMPARE(lists.choice.classIndex, 0);
        QCOMPARE(lists.choice.pupilIndex, 1);
        QCOMPARE(Text(lists.choice.testName), QStringLiteral("Przyroda"));
        QCOMPARE(Text(lists.choice.testPath), Text(lists.Folder() + "/przyroda.skt"));
    } else {
        QCOMPARE(CloseWarningTexts(lists.messages),
                 QStringList{QStringLiteral(
                     "Podaj poprawnie konieczne dane.\rWybierz osobę i test z podanych list.")});
        QVERIFY(window->isVisible());
        QCOMPARE(lists.choice.mode, StartMode::None);
    }
}

void ListWindowsTest::bothListsStartsTheTestAfterClosing() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    lists.window = &windows.both;
    bool ran = false;
    WhenModalRuns([&] {
        ran = true;
        QWidget* window = ActiveModal<BothListsWindow>();
        QVERIFY(window != nullptr);
        ClickPupil(window, 0);
        PressTreeRow(window, 1);
        Click(window, "LWprowadz");
    });
    windows.both.Open();
    QVERIFY(ran);
    QCOMPARE(lists.starts, 1);
    QVERIFY(!lists.windowShownAtStart);
    QCOMPARE(lists.startedWith.mode, StartMode::PupilAndTestFromLists);
    QCOMPARE(Text(lists.startedWith.surname), QStringLiteral("Kowalski"));
    QCOMPARE(Text(lists.startedWith.testPath), Text(lists.Folder() + "/przyroda.skt"));
}

void ListWindowsTest::bothListsCancelClearsTheChoice() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    ClickPupil(window, 2);
    PressTreeRow(window, 1);
    lists.choice.mode = StartMode::TestFileAnonymously;
    Click(window, "LAnuluj");
    QVERIFY(!window->isVisible());
    QCOMPARE(lists.choice.mode, StartMode::None);
    QCOMPARE(lists.choice.classIndex, -1);
    QCOMPARE(lists.choice.pupilIndex, -1);
    QVERIFY(lists.choice.testName.empty());
    QCOMPARE(lists.starts, 0);
}

void ListWindowsTest::testsListStartsAnonymouslyOrCancels() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    lists.window = &windows.tests;
    lists.choice.surname = "Kowalski";
    WhenModalRuns([&] {
        QWidget* window = ActiveModal<TestsListWindow>();
        QVERIFY(window != nullptr);
        Click(window, "LWprowadz");  // nothing chosen yet
        QVERIFY(window->isVisible());
        PressTreeRow(window, 1);
        QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: Przyroda"));
        Click(window, "LWprowadz");
    });
    windows.tests.Open();
    QCOMPARE(CloseWarningTexts(lists.messages),
             QStringList{
                 QStringLiteral("Podaj poprawnie konieczne dane.\rWybierz test z podanej listy.")});
    QCOMPARE(lists.starts, 1);
    QVERIFY(!lists.windowShownAtStart);
    QCOMPARE(lists.startedWith.mode, StartMode::TestFromListAnonymously);
    QVERIFY(lists.startedWith.surname.empty());
    QCOMPARE(Text(lists.startedWith.testPath), Text(lists.Folder() + "/przyroda.skt"));

    WhenModalRuns([&] {
        QWidget* window = ActiveModal<TestsListWindow>();
        QVERIFY(window != nullptr);
        PressTreeRow(window, 1);
        Click(window, "LAnuluj");
    });
    windows.tests.Open();
    QCOMPARE(lists.starts, 1);
    QCOMPARE(lists.choice.mode, StartMode::None);
    QVERIFY(lists.choice.testName.empty());
}

void ListWindowsTest::pupilsListAcceptsAChosenPupilOrCancels() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("pupils"));
    QVERIFY(window != nullptr);
    Click(window, "LWprowadz");
    QCOMPARE(CloseWarningTexts(lists.messages),
             QStringList{QStringLiteral(
                 "Podaj poprawnie konieczne dane.\rWybierz osobę z podanej listy.")});
    QVERIFY(window->isVisible());
    ClickPupil(window, 0);  // the highlighted line, chosen by the click
    QCOMPARE(LabelText(window, "LOsoba"), QStringLiteral("Wybór osoby: Kowalski Jan"));
    Click(window, "LWprowadz");
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Accepted));
    QCOMPARE(Text(lists.choice.surname), QStringLiteral("Kowalski"));
    QCOMPARE(lists.choice.pupilIndex, 0);
    QCOMPARE(lists.starts, 0);  // the program asks for the test file itself

    window = windows.Show(QStringLiteral("pupils"));
    QVERIFY(window != nullptr);
    ClickPupil(window, 2);
    Click(window, "LAnuluj");
    QVERIFY(!window->isVisible());
    QVERIFY(lists.choice.surname.empty());
    QCOMPARE(lists.choice.classIndex, -1);
    QCOMPARE(lists.choice.pupilIndex, -1);
    QCOMPARE(lists.choice.mode, StartMode::None);
}

void ListWindowsTest::pupilListOrderFollowsTheSettingLabelDoesNot_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("firstNameFirst");
    QTest::addColumn<QString>("listed");
    QTest::newRow("both lists, first name first") << "both" << true << "Jan Kowalski";
    QTest::newRow("both lists, surname first") << "both" << false << "Kowalski Jan";
    QTest::newRow("pupils list, first name first") << "pupils" << true << "Jan Kowalski";
    QTest::newRow("pupils list, surname first") << "pupils" << false << "Kowalski Jan";
}

void ListWindowsTest::pupilListOrderFollowsTheSettingLabelDoesNot() {
    QFETCH(QString, window);
    QFETCH(bool, firstNameFirst);
    QFETCH(QString, listed);
    Lists lists;
    QVERIFY(lists.written);
    lists.settings.fn = firstNameFirst;
    Windows windows(lists);
    QDialog* shown = windows.Show(window);
    QVERIFY(shown != nullptr);
    auto* list = Find<QListWidget>(shown, "BLista");
    QCOMPARE(list->item(0)->text(), listed);
    QCOMPARE(list->count(), 3);
    ClickPupil(shown, 0);
    QCOMPARE(LabelText(shown, "LOsoba"), QStringLiteral("Wybór osoby: Kowalski Jan"));
    QCOMPARE(Text(lists.choice.firstName), QStringLiteral("Jan"));
}

void ListWindowsTest::pupilBarAppearsAboveTheRowsInView_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("pupils");
    QTest::addColumn<bool>("barShown");
    QTest::addColumn<int>("max");
    QTest::newRow("both lists, 20") << "both" << 20 << false << 0;
    QTest::newRow("both lists, 21") << "both" << 21 << true << 1;
    QTest::newRow("both lists, 36") << "both" << 36 << true << 16;
    QTest::newRow("pupils list, 16") << "pupils" << 16 << false << 0;
    QTest::newRow("pupils list, 17") << "pupils" << 17 << true << 1;
}

void ListWindowsTest::pupilBarAppearsAboveTheRowsInView() {
    QFETCH(QString, window);
    QFETCH(int, pupils);
    QFETCH(bool, barShown);
    QFETCH(int, max);
    Lists lists({pupils});
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* shown = windows.Show(window);
    QVERIFY(shown != nullptr);
    QCOMPARE(PanelShown(shown, "PPodListweUczniow"), barShown);
    auto* bar = Find<RAMScrollBar>(shown, "ListwaVUczniowie");
    if (barShown) {
        const int rows = window == QLatin1String("both") ? 20 : 16;
        QCOMPARE(bar->maximum(), max);
        QCOMPARE(bar->largeChange(), std::min(rows - 1, max));
        QCOMPARE(bar->smallChange(), rows - 2);
        QCOMPARE(bar->position(), 0);
    }
}

void ListWindowsTest::pupilBarAndListMoveTogether() {
    Lists lists({36});
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("pupils"));
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* list = Find<QListWidget>(window, "BLista");
    auto* bar = Find<RAMScrollBar>(window, "ListwaVUczniowie");
    bar->setPosition(5);
    QCOMPARE(list->verticalScrollBar()->value(), 5);
    QCOMPARE(list->indexAt(QPoint(5, 3)).row(), 5);

    // Keys move the highlight and choose; the bar follows the list when the key is released.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(lists.choice.pupilIndex, 35);
    QCOMPARE(Text(lists.choice.surname), QStringLiteral("Nazwisko0_35"));
    QVERIFY(list->verticalScrollBar()->value() > 5);
    QCOMPARE(bar->position(), list->verticalScrollBar()->value());
}

void ListWindowsTest::classChangeKeepsTheChosenPupil() {
    Lists lists({3, 2});
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("pupils"));
    QVERIFY(window != nullptr);
    ClickPupil(window, 2);
    QCOMPARE(LabelText(window, "LOsoba"), QStringLiteral("Wybór osoby: Nazwisko0_2 Imię2"));
    auto* classes = Find<ComboBox97>(window, "CListaKlas");
    classes->setFocus();
    QTest::keyClick(classes, Qt::Key_Down);  // the pupil looks at the second class
    QCOMPARE(classes->currentIndex(), 1);
    auto* list = Find<QListWidget>(window, "BLista");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Nazwisko1_0 Imię0"));
    // The choice stays the chosen pupil's own: his class, his index.
    QCOMPARE(lists.choice.classIndex, 0);
    QCOMPARE(lists.choice.pupilIndex, 2);
    QCOMPARE(Text(lists.choice.surname), QStringLiteral("Nazwisko0_2"));
    QCOMPARE(LabelText(window, "LOsoba"), QStringLiteral("Wybór osoby: Nazwisko0_2 Imię2"));
    // A pupil chosen in the class shown brings his class along; looking back keeps him.
    ClickPupil(window, 1);
    QCOMPARE(lists.choice.classIndex, 1);
    QCOMPARE(lists.choice.pupilIndex, 1);
    QCOMPARE(Text(lists.choice.surname), QStringLiteral("Nazwisko1_1"));
    classes->setFocus();
    QTest::keyClick(classes, Qt::Key_Up);
    QCOMPARE(classes->currentIndex(), 0);
    QCOMPARE(lists.choice.classIndex, 1);
    QCOMPARE(lists.choice.pupilIndex, 1);
    Click(window, "LWprowadz");
    QVERIFY(lists.messages.shown.empty());
    QVERIFY(!window->isVisible());
}

void ListWindowsTest::classWithoutPupilsOffersNone() {
    Lists lists({2, 0});
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    ClickPupil(window, 1);
    auto* classes = Find<ComboBox97>(window, "CListaKlas");
    classes->setFocus();
    QTest::keyClick(classes, Qt::Key_Down);
    QCOMPARE(Find<QListWidget>(window, "BLista")->count(), 0);
    QVERIFY(!PanelShown(window, "PPodListweUczniow"));
    QCOMPARE(lists.choice.classIndex, 0);
    QCOMPARE(lists.choice.pupilIndex, 1);
}

void ListWindowsTest::treePressesChooseTestsAndGroupsKeepThem() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("tests"));
    QVERIFY(window != nullptr);
    PressTreeRow(window, 0);  // a group: nothing chosen
    QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: brak wyboru. "));
    QVERIFY(lists.choice.testName.empty());
    PressTreeRow(window, 1);
    QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: Przyroda"));
    PressTreeRow(window, 0);
    QCOMPARE(windows.both.Tree().Model().Selected(), 0);
    QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: Przyroda"));
    QCOMPARE(Text(lists.choice.testName), QStringLiteral("Przyroda"));
    PressTreeRow(window, 5);  // below the last row
    QCOMPARE(windows.both.Tree().Model().Selected(), 0);
}

void ListWindowsTest::treeDoubleClickOpensGroupAndBarScrollsTheSurface() {
    // A group of 20 tests and one test below it: 2 rows closed, 22 open.
    std::vector<std::string> lines = {"1*0*20*0*1*0*Grupa**"};
    for (int i = 0; i < 20; ++i) {
        lines.push_back(std::to_string(i + 2) + "*1*0*1*0*0*Test " + std::to_string(i) + "*\\t" +
                        std::to_string(i) + ".skt*");
    }
    lines.push_back("30*0*0*0*1*0*Ostatni*\\ostatni.skt*");
    Lists lists({3}, lines);
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    auto* surface = Find<TreeSurface>(window, "ImDrzewo");
    const QImage right = LoadSkinPicture(SkinPictureId::Right);
    const QImage left = LoadSkinPicture(SkinPictureId::Left);
    const QPoint arrowMiddle(1 + 8, 5 + 8);
    QVERIFY(right.pixel(8, 8) != left.pixel(8, 8));
    QCOMPARE(surface->Canvas().pixel(arrowMiddle), right.pixel(8, 8));
    QVERIFY(!PanelShown(window, "PPodListweTestow"));

    DoubleClickTreeRow(window, 0);
    QCOMPARE(windows.both.Tree().Model().VisibleCount(), 22);
    QCOMPARE(surface->Canvas().pixel(arrowMiddle), left.pixel(8, 8));
    QVERIFY(PanelShown(window, "PPodListweTestow"));
    auto* bar = Find<RAMScrollBar>(window, "ListwaVDrzewo");
    QCOMPARE(bar->maximum(), 3);
    bar->setPosition(2);
    QCOMPARE(surface->y(), -32);

    // Closed again while scrolled, every row fits: the bar goes and the surface returns to
    // the top.
    DoubleClickTreeRow(window, 0);
    QCOMPARE(windows.both.Tree().Model().VisibleCount(), 2);
    QVERIFY(!PanelShown(window, "PPodListweTestow"));
    QCOMPARE(surface->y(), 0);
    QCOMPARE(surface->Canvas().pixel(arrowMiddle), right.pixel(8, 8));
}

void ListWindowsTest::malformedTreeOpensButOffersNoTest() {
    Lists lists({3}, {"1*0*0*0*1*0*Dobry*\\dobry.skt*", "2*x*0*0*1*0*Zły*\\zly.skt*",
                      "3*0*0*0*1*0*Po nim*\\po.skt*"});
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    QCOMPARE(windows.both.Tree().Model().Entries().size(), std::size_t(1));
    // The entry read before the bad line is drawn, in the normal colour.
    auto* surface = Find<TreeSurface>(window, "ImDrzewo");
    bool drawn = false;
    for (int x = 18; x < 80 && !drawn; ++x) {
        for (int y = 5; y < 21 && !drawn; ++y) {
            drawn = surface->Canvas().pixelColor(x, y) != QColor(Qt::white);
        }
    }
    QVERIFY(drawn);
    PressTreeRow(window, 0);
    DoubleClickTreeRow(window, 0);
    ClickPupil(window, 0);
    Click(window, "LWprowadz");
    QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: brak wyboru. "));
    QVERIFY(lists.choice.testName.empty());
    QVERIFY(window->isVisible());
    QCOMPARE(lists.messages.shown.size(), std::size_t(1));
}

void ListWindowsTest::reopeningForgetsTheEarlierChoice() {
    Lists lists;
    QVERIFY(lists.written);
    Windows windows(lists);
    QDialog* window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    ClickPupil(window, 1);
    PressTreeRow(window, 1);
    Click(window, "LWprowadz");
    QVERIFY(!window->isVisible());

    window = windows.Show(QStringLiteral("both"));
    QVERIFY(window != nullptr);
    QCOMPARE(LabelText(window, "LOsoba"), QStringLiteral("Wybór osoby: brak wyboru. "));
    QCOMPARE(LabelText(window, "LTest"), QStringLiteral("Wybór testu: brak wyboru. "));
    QCOMPARE(windows.both.Tree().Model().Selected(), 0);
    Click(window, "LWprowadz");
    QVERIFY(window->isVisible());
    QCOMPARE(lists.messages.shown.size(), std::size_t(1));
    window->hide();

    window = windows.Show(QStringLiteral("tests"));
    QVERIFY(window != nullptr);
    Click(window, "LWprowadz");
    QVERIFY(window->isVisible());
    QCOMPARE(lists.messages.shown.size(), std::size_t(2));
}

void ListWindowsTest::comboBoxLooksFlatUntilHot() {
    QWidget parent;
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, QColor(200, 120, 40));
    parent.setPalette(colours);
    auto* combo = new ComboBox97(&parent, QRect(10, 10, 209, 21));
    combo->addItem(QStringLiteral("Klasa 4a"));
    combo->addItem(QStringLiteral("Klasa 7b"));
    parent.resize(240, 60);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QRgb face = combo->palette().color(QPalette::Button).rgb();
    const QRgb base = combo->palette().color(QPalette::Base).rgb();
    const QRgb dark = combo->palette().color(QPalette::Dark).rgb();
    const QRgb light = combo->palette().color(QPalette::Light).rgb();
    const int buttonWidth = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    QCOMPARE(combo->ButtonRect(), QRect(209 - 2 - buttonWidth, 2, buttonWidth, 17));

    combo->clearFocus();
    QVERIFY(!combo->IsHot());
    QImage cold = combo->grab().toImage();
    QCOMPARE(cold.pixel(0, 0), face);
    QCOMPARE(cold.pixel(1, 10), face);
    QCOMPARE(cold.pixel(2, 10), base);  // the window-colour frame inside
    QCOMPARE(cold.pixel(combo->ButtonRect().left() + 1, 4), face);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(combo, &enter);
    QVERIFY(combo->IsHot());
    QImage hot = combo->grab().toImage();
    QCOMPARE(hot.pixel(0, 10), dark);
    QCOMPARE(hot.pixel(208, 10), light);
    QCOMPARE(hot.pixel(combo->ButtonRect().topLeft()), light);
    QCOMPARE(hot.pixel(1, 10), face);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(combo, &leave);
    QCOMPARE(combo->grab().toImage().pixel(0, 10), face);
    combo->setFocus();  // the focus makes it hot as well
    QCOMPARE(combo->grab().toImage().pixel(0, 10), dark);
    combo->clearFocus();

    combo->setEnabled(false);
    QCOMPARE(combo->grab().toImage().pixel(2, 10), qRgb(200, 120, 40));
    combo->setEnabled(true);
    QCOMPARE(combo->grab().toImage().pixel(2, 10), base);
}

QTEST_MAIN(ListWindowsTest)
#include "list_windows_test.moc"
