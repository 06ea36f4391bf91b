// The windows of a graded test: the summary with its save control and save dialog, driven by
// a real test session, and the legend with its check box and the setting it stores.
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "app/SettingsFile.h"
#include "formats/ResultFileReader.h"
#include "testing/TestSession.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/TestPanel.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/windows/LegendWindow.h"
#include "ui/windows/SummaryWindow.h"
#include "ui_test_support.h"

using namespace oplix;
using namespace oplix::ui;
using namespace oplix::ui_testing;

Q_DECLARE_METATYPE(oplix::StartMode)

namespace {

constexpr QPoint kPanelOrigin{40, 30};

// A graded two-question test with the real summary window; the summary's save goes to the
// session as the program connects it.
struct SummaryHarness {
    SummaryHarness() {
        summary.SetSaveHandler([this](const std::string& path) {
            ++saves;
            session.SaveResult(path);
        });
        summary.SetPlacement([] { return kPanelOrigin; });
        summary.SetMessageBox(messages);
    }

    // Starts the test in `mode` and marks the first answer of each question.
    bool StartAndAnswer(StartMode mode) {
        CurrentChoice choice;
        choice.testPath = WriteTestFile(folder, SmallTest(2, 3));
        choice.mode = mode;
        if (IsNamedMode(mode)) {
            choice.surname = "Kowalski";
            choice.firstName = "Jan";
        }
        if (choice.testPath.empty() || !session.StartTest(choice)) {
            return false;
        }
        for (int question = 1; question <= 2; ++question) {
            session.SelectQuestion(question);
            session.MarkAnswer(1);
        }
        return true;
    }

    QStringList Documents() const {
        return QDir(QString::fromStdString(locations.documentsFolder)).entryList(QDir::Files);
    }

    QTemporaryDir folder;
    FixedClock clock;
    Journal journal{clock};
    RecordingMessageBox messages;
    CyclingRandom random;
    Settings settings = TestSettings();
    Locations locations = ScratchLocations(folder);
    TestPanel panel;
    FakeSideWindow textWindow;
    FakeSideWindow pictureWindow;
    FakeLegend legend;
    ui::SummaryWindow summary{QString::fromStdString(locations.documentsFolder)};
    FakeSounds sounds;
    QtMinuteTimer timer;
    TestSession session{
        SessionServices{journal, messages, clock, random, settings, locations},
        SessionWindows{panel, textWindow, pictureWindow, legend, summary, sounds, timer}};
    int saves = 0;
};

void ClickControl(QWidget* window, const char* name) {
    QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY2(control != nullptr, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

// What the summary showed while it ran; it is closed by its close mark right after.
struct SummaryLook {
    bool ran = false;
    QString text;
    bool saveShown = false;
    QPoint position;
};

}  // namespace

class SummaryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void summaryShowsTextAndSaveOnlyWhenAnonymous_data();
    void summaryShowsTextAndSaveOnlyWhenAnonymous();
    void cancelledSaveWritesNothingAndChosenNameIsWritten();
    void takenNameIsKeptAndAskedAgain();
    void legendStoresTheCheckBoxOnlyWhenAllowed_data();
    void legendStoresTheCheckBoxOnlyWhenAllowed();
};

void SummaryWindowTest::summaryShowsTextAndSaveOnlyWhenAnonymous_data() {
    QTest::addColumn<StartMode>("mode");
    QTest::addColumn<bool>("saveOffered");
    QTest::newRow("pupil and test from the lists") << StartMode::PupilAndTestFromLists << false;
    QTest::newRow("test from the list anonymously") << StartMode::TestFromListAnonymously << true;
    QTest::newRow("named pupil with a file") << StartMode::NamedPupilWithTestFile << false;
    QTest::newRow("file anonymously") << StartMode::TestFileAnonymously << true;
}

void SummaryWindowTest::summaryShowsTextAndSaveOnlyWhenAnonymous() {
    QFETCH(StartMode, mode);
    QFETCH(bool, saveOffered);
    SummaryHarness harness;
    QVERIFY(harness.StartAndAnswer(mode));
    SummaryLook look;
    WhenModalRuns([&] {
        auto* window = ActiveModal<ui::SummaryWindow>();
        if (window == nullptr) {
            return;
        }
        look.ran = true;
        look.text = window->findChild<QLabel*>(QStringLiteral("LPodsumowanie"))->text();
        look.saveShown =
            window->findChild<QWidget*>(QStringLiteral("ImZapisz"))->isVisibleTo(window);
        look.position = window->pos();
        ClickControl(window, "LClosePodsumowanie");
    });
    harness.session.FinishTest();
    QVERIFY2(look.ran, "the summary did not run modally");
    QVERIFY(!harness.summary.isVisible());
    QCOMPARE(look.text.split(QLatin1Char('\n')),
             QStringList(
                 {QStringLiteral("Pytań w teście: 2"), QStringLiteral("Poprawnych odpowiedzi: 2"),
                  QStringLiteral("Czas pracy: 0 min 0 s"), QStringLiteral("Skuteczność: 100%"),
                  QString(), QStringLiteral("Reasumując: Jesteś rewelacyjny.")}));
    QCOMPARE(look.saveShown, saveOffered);
    QCOMPARE(look.position, kPanelOrigin + QPoint(375, 222));
    QCOMPARE(harness.saves, 0);
}

// The save dialog asks in the documents folder for a .sko name; cancelled it writes nothing,
// and a chosen name gets the result file while the summary stays open.
void SummaryWindowTest::cancelledSaveWritesNothingAndChosenNameIsWritten() {
    SummaryHarness harness;
    QVERIFY(harness.StartAndAnswer(StartMode::TestFileAnonymously));
    const QString chosen =
        QString::fromStdString(harness.locations.documentsFolder) + QStringLiteral("/wynik.sko");
    struct DialogLook {
        QString title;
        QStringList filters;
        QString suffix;
        QString folder;
    } dialogLook;
    QStringList afterCancel{QStringLiteral("not checked")};
    int savesAfterCancel = -1;
    bool summaryOpenAfterSave = false;

    WhenModalRuns([&] {
        auto* window = ActiveModal<ui::SummaryWindow>();
        if (window == nullptr) {
            return;
        }
        WhenModalRuns([&] {
            if (auto* dialog = ActiveModal<QFileDialog>()) {
                dialogLook = {dialog->windowTitle(), dialog->nameFilters(), dialog->defaultSuffix(),
                              dialog->directory().absolutePath()};
                dialog->reject();
            }
        });
        ClickControl(window, "ImZapisz");
        afterCancel = harness.Documents();
        savesAfterCancel = harness.saves;

        WhenModalRuns([&] {
            // The pupil types the name into the dialog's name field.
            auto* dialog = ActiveModal<QFileDialog>();
            if (dialog == nullptr) {
                return;
            }
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(chosen);
                static_cast<QDialog*>(dialog)->accept();
            } else {
                dialog->reject();
            }
        });
        ClickControl(window, "ImZapisz");
        summaryOpenAfterSave = window->isVisible();
        ClickControl(window, "LClosePodsumowanie");
    });
    harness.session.FinishTest();

    QCOMPARE(dialogLook.title, QStringLiteral("Zapis wyniku testu"));
    QCOMPARE(dialogLook.filters, QStringList{QStringLiteral("Plik odpowiedzi (*.sko)")});
    QCOMPARE(dialogLook.suffix, QStringLiteral("sko"));
    QCOMPARE(dialogLook.folder,
             QDir(QString::fromStdString(harness.locations.documentsFolder)).absolutePath());
    QCOMPARE(afterCancel, QStringList());
    QCOMPARE(savesAfterCancel, 0);
    QCOMPARE(harness.saves, 1);
    QVERIFY(summaryOpenAfterSave);
    const Result<ResultRecord> saved = ReadResult(chosen.toStdString());
    QVERIFY(saved.ok());
    QCOMPARE(saved->testName, std::string("Próbny test"));
    QCOMPARE(saved->QuestionCount(), 2);
}

// Only a click on the box, allowed by `chl`, decides what closing stores; a box that merely
// shows a tick (left from an earlier showing) stores nothing.
// A name already taken is kept as it was: the program's box says so, the dialog asks again, and
// the next name gets the result.
void SummaryWindowTest::takenNameIsKeptAndAskedAgain() {
    SummaryHarness harness;
    QVERIFY(harness.StartAndAnswer(StartMode::TestFileAnonymously));
    const QString folder = QString::fromStdString(harness.locations.documentsFolder);
    const QString taken = folder + QStringLiteral("/zajęty.sko");
    const QString other = folder + QStringLiteral("/inny.sko");
    {
        QFile file(taken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("notatki");
    }
    QStringList names{taken, other};
    int dialogs = 0;
    int waits = 0;
    bool askedToReplace = false;
    std::function<void()> answerDialog = [&] {
        auto* dialog = ActiveModal<QFileDialog>();
        if (dialog == nullptr) {
            if (!names.isEmpty() && ++waits < 100) {
                WhenModalRuns(answerDialog);  // the dialog is about to open
            }
            return;
        }
        ++dialogs;
        askedToReplace = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name == nullptr || names.isEmpty()) {
            dialog->reject();
            return;
        }
        name->setText(names.takeFirst());
        WhenModalRuns(answerDialog);  // the dialog of the next turn, if it opens again
        static_cast<QDialog*>(dialog)->accept();
    };
    WhenModalRuns([&] {
        auto* window = ActiveModal<ui::SummaryWindow>();
        if (window == nullptr) {
            return;
        }
        WhenModalRuns(answerDialog);
        ClickControl(window, "ImZapisz");
        ClickControl(window, "LClosePodsumowanie");
    });
    harness.session.FinishTest();

    QCOMPARE(dialogs, 2);
    QVERIFY(!askedToReplace);
    QCOMPARE(BoxTexts(harness.messages),
             QStringList{QStringLiteral(
                 "Plik „zajęty.sko” już istnieje i pozostał bez zmian.\rPodaj inną nazwę pliku.")});
    QFile kept(taken);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("notatki"));
    QCOMPARE(harness.saves, 1);
    QVERIFY(ReadResult(other.toStdString()).ok());
}

void SummaryWindowTest::legendStoresTheCheckBoxOnlyWhenAllowed_data() {
    QTest::addColumn<bool>("changeAllowed");
    QTest::addColumn<bool>("tickedBefore");
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("shownAfter");
    QTest::newRow("not allowed, ticked box clicked") << false << true << true << true;
    QTest::newRow("allowed, ticked by a click") << true << false << true << false;
    QTest::newRow("allowed, ticked but not clicked") << true << true << false << true;
}

void SummaryWindowTest::legendStoresTheCheckBoxOnlyWhenAllowed() {
    QFETCH(bool, changeAllowed);
    QFETCH(bool, tickedBefore);
    QFETCH(bool, click);
    QFETCH(bool, shownAfter);
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("Test.ini")).toStdString();
    FixedClock clock;
    Journal journal{clock};
    Settings settings = TestSettings();
    settings.opl = true;
    settings.chl = changeAllowed;
    QVERIFY(WriteWholeSettingsFile(path, settings, journal));

    ui::LegendWindow legend(settings, path, journal);
    legend.move(500, 400);
    legend.Show();
    QVERIFY(legend.isVisible());
    QCOMPARE(legend.pos(), QPoint(120, 100));
    QCOMPARE(legend.CheckBox()->isEnabled(), changeAllowed);
    legend.CheckBox()->setChecked(tickedBefore);
    if (click) {
        QTest::mouseClick(legend.CheckBox(), Qt::LeftButton);
    }
    ClickControl(&legend, "LCloseLegenda");
    QVERIFY(!legend.isVisible());
    QCOMPARE(settings.opl, shownAfter);

    Settings stored;
    RecordingMessageBox messages;
    QCOMPARE(LoadSettings(path, stored, journal, messages), SettingsLoadOutcome::Loaded);
    QCOMPARE(stored.opl, shownAfter);
}

QTEST_MAIN(SummaryWindowTest)
#include "summary_window_test.moc"
