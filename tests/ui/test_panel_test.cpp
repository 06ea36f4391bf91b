// The test panel driven by a real test session: clicks on the answer buttons and the list,
// the list's height and scroll bar, the grade button and the letters after grading.
#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "testing/TestSession.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/TestPanel.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/TextBox.h"
#include "ui/widgets/WrappedTextView.h"
#include "ui_test_support.h"

using namespace oplix;
using namespace oplix::ui;
using namespace oplix::ui_testing;

namespace {

constexpr int kRow = TestPanel::kRowHeight;

// One pupil's test on a real panel, with silent stand-ins for the other windows.
struct PanelHarness : SessionRig<> {
    bool Start(const TestDocument& test, const std::string& name = "test.skt") {
        CurrentChoice choice;
        choice.testPath = WriteTestFile(folder, test, name);
        choice.mode = StartMode::TestFileAnonymously;
        return !choice.testPath.empty() && session.StartTest(choice);
    }

    template <typename Widget>
    Widget* Control(const char* name) {
        return panel.findChild<Widget*>(QString::fromLatin1(name));
    }
    PictureButton* AnswerButton(int slot) {
        return Control<PictureButton>(QStringLiteral("ImOdp%1").arg(slot).toLatin1().constData());
    }
    QLabel* AnswerLabel(int slot) {
        return Control<QLabel>(QStringLiteral("LOdp%1").arg(slot).toLatin1().constData());
    }
    bool Shown(const char* name) { return Control<QWidget>(name)->isVisibleTo(&panel); }

    void ClickAnswer(int slot) { QTest::mouseClick(AnswerButton(slot), Qt::LeftButton); }
    // A click at (x, y) of the list's visible panel.
    void ClickList(int y, int x = 60) {
        auto* list = Control<QWidget>("ImLista");
        QTest::mouseClick(list, Qt::LeftButton, {},
                          list->mapFrom(Control<QWidget>("PPodListe"), QPoint(x, y)));
    }
    void ClickQuestionRow(int question) { ClickList(kRow * (question - 1) + kRow / 2); }
    // The slot that shows the question's first correct answer, or its first wrong one.
    int SlotOf(int question, bool correct) {
        for (int slot = 1; slot <= session.Document().answerCount; ++slot) {
            const Answer* answer = session.AnswerInSlot(question, slot);
            if (answer != nullptr && answer->isCorrect == correct) {
                return slot;
            }
        }
        return 0;
    }
};

// A skin picture as the panel copies cells from it.
QImage Strip(SkinPictureId picture) {
    return LoadSkinPicture(picture).convertToFormat(QImage::Format_RGB32);
}

// The cell of a letter strip, as the panel cuts it, when the strip's picture is there.
QImage LetterCell(SkinPictureId strip, int cell, int slot, LetterState state) {
    return Strip(strip).copy((slot - 1) * cell, static_cast<int>(state) * cell, cell, cell);
}

// The list row's letter of the slot and the answer button show the state's cells, checked
// pixel by pixel when the strips are among the resources, and as recorded by the panel always.
void ExpectLetter(PanelHarness& harness, int question, int slot, LetterState state, bool onButton) {
    QCOMPARE(harness.panel.RowState(question, slot), state);
    if (onButton) {
        QCOMPARE(harness.panel.ButtonState(slot), state);
    }
    const QImage small = LetterCell(SkinPictureId::LiteryMale, 25, slot, state);
    if (!small.isNull()) {
        const QImage drawn =
            harness.panel.ListPicture().copy(kRow * slot + 8, kRow * question - 25, 25, 25);
        QCOMPARE(drawn, small);
    }
    const QImage big = LetterCell(SkinPictureId::LiteryDuze, 35, slot, state);
    if (onButton && !big.isNull()) {
        QCOMPARE(
            harness.AnswerButton(slot)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            big);
    }
}

}  // namespace

class TestPanelTest : public QObject {
    Q_OBJECT

private slots:
    void wholeTestSolvedByClicks();
    void listHeightAndScrollBar_data();
    void listHeightAndScrollBar();
    void listRedrawnForTheNextTest();
    void clickInListSelectsRow_data();
    void clickInListSelectsRow();
    void answerButtonsFollowAnswerCount_data();
    void answerButtonsFollowAnswerCount();
    void finalStatesAfterGrading();
    void hintPanelClosesWithAnotherQuestion();
    void doubleClickCountsAsOneClick();
    void questionTextGivesTheFocusAway();
};

// Questions answered out of order by list and button clicks: the panel shows each question's
// own texts, marks follow the clicks, and the grade button waits for the last mark.
void TestPanelTest::wholeTestSolvedByClicks() {
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(3, 4)));
    QVERIFY(harness.panel.isVisible());
    QVERIFY(!harness.Shown("ImOcen"));
    QVERIFY(!harness.Shown("Progress"));

    const int order[] = {2, 3, 1};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const int question = order[i];
        harness.ClickQuestionRow(question);
        QCOMPARE(harness.session.CurrentQuestion(), question);
        QCOMPARE(harness.Control<TextBox>("LPytanie")->toPlainText(),
                 QStringLiteral("Pytanie numer %1").arg(question));
        for (int slot = 1; slot <= 4; ++slot) {
            QCOMPARE(harness.AnswerLabel(slot)->text().toStdString(),
                     harness.session.SlotText(question, slot));
        }
        // A wrong answer first, then the right one replaces it.
        harness.ClickAnswer(harness.SlotOf(question, false));
        const int right = harness.SlotOf(question, true);
        harness.ClickAnswer(right);
        for (int slot = 1; slot <= 4; ++slot) {
            ExpectLetter(harness, question, slot,
                         slot == right ? LetterState::Marked : LetterState::Plain, true);
        }
        QCOMPARE(harness.Shown("ImOcen"), i + 1 == std::size(order));
    }

    QTest::mouseClick(harness.Control<PictureButton>("ImOcen"), Qt::LeftButton);
    QVERIFY(harness.session.IsFinished());
    QCOMPARE(harness.session.CorrectCount(), 3);
    QCOMPARE(harness.summary.shown.size(), std::size_t{1});
    QVERIFY(harness.summary.shown[0].text.find("Poprawnych odpowiedzi: 3") != std::string::npos);
    QVERIFY(harness.summary.shown[0].saveOffered);
    for (int question = 1; question <= 3; ++question) {
        ExpectLetter(harness, question, harness.SlotOf(question, true), LetterState::Marked, false);
    }
}

void TestPanelTest::listHeightAndScrollBar_data() {
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("scrollMax");  // -1: no scroll bar
    QTest::newRow("4 questions") << 4 << 104 << -1;
    QTest::newRow("10 questions") << 10 << 258 << -1;
    QTest::newRow("11 questions") << 11 << 258 << 1;
    QTest::newRow("45 questions") << 45 << 258 << 35;
}

void TestPanelTest::listHeightAndScrollBar() {
    QFETCH(int, questions);
    QFETCH(int, height);
    QFETCH(int, scrollMax);
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(questions, 4)));
    QCOMPARE(harness.Control<QWidget>("PPodListe")->height(), height);
    QCOMPARE(harness.Shown("PPodListwe"), scrollMax >= 0);
    if (scrollMax < 0) {
        return;
    }
    auto* bar = harness.Control<RAMScrollBar>("ListwaV");
    QCOMPARE(bar->maximum(), scrollMax);
    QCOMPARE(bar->position(), 0);
    auto* list = harness.Control<QWidget>("ImLista");
    QCOMPARE(list->y(), 0);
    bar->setPosition(scrollMax + 5);
    QCOMPARE(bar->position(), scrollMax);
    QCOMPARE(list->y(), -kRow * scrollMax);
}

// A shorter test after a longer one redraws the list: plain letters in its own rows and
// columns only, and only its first number white. On screen, scrolled, the list panel shows
// the list picture from the row it is scrolled to.
void TestPanelTest::listRedrawnForTheNextTest() {
    const QImage background = Strip(SkinPictureId::TloListy);
    const QImage numbers = Strip(SkinPictureId::Numery);
    const QImage whiteNumbers = Strip(SkinPictureId::NumeryBiale);
    QVERIFY(!background.isNull() && !numbers.isNull() && !whiteNumbers.isNull());
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(14, 5)));
    harness.ClickQuestionRow(3);
    harness.ClickAnswer(harness.SlotOf(3, true));
    harness.Control<RAMScrollBar>("ListwaV")->setPosition(3);
    const QImage shown = harness.Control<QWidget>("PPodListe")
                             ->grab()
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, harness.panel.ListPicture().copy(0, 3 * kRow, shown.width(), shown.height()));

    QVERIFY(harness.Start(SmallTest(3, 3), "next.skt"));
    const QImage picture = harness.panel.ListPicture();
    for (int question = 1; question <= 14; ++question) {
        for (int slot = 1; slot <= 5; ++slot) {
            const QRect cell(kRow * slot + 8, kRow * question - 25, 25, 25);
            if (question <= 3 && slot <= 3) {
                ExpectLetter(harness, question, slot, LetterState::Plain, true);
            } else {
                QCOMPARE(picture.copy(cell), background.copy(cell));
            }
        }
        const QRect number(0, kRow * (question - 1), 25, kRow);
        QCOMPARE(picture.copy(number.translated(2, 0)),
                 (question == 1 ? whiteNumbers : numbers).copy(number));
    }
}

void TestPanelTest::clickInListSelectsRow_data() {
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("selected");
    QTest::newRow("last pixel of a 4-question list") << 4 << 0 << 103 << 4;
    QTest::newRow("first pixel") << 4 << 0 << 0 << 1;
    QTest::newRow("row boundary") << 4 << 0 << 26 << 2;
    QTest::newRow("scrolled by 3, top of the panel") << 14 << 3 << 5 << 4;
    QTest::newRow("scrolled to the end, bottom of the panel") << 11 << 1 << 257 << 11;
}

void TestPanelTest::clickInListSelectsRow() {
    QFETCH(int, questions);
    QFETCH(int, scroll);
    QFETCH(int, y);
    QFETCH(int, selected);
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(questions, 3)));
    if (scroll > 0) {
        harness.Control<RAMScrollBar>("ListwaV")->setPosition(scroll);
    }
    harness.ClickList(y);
    QCOMPARE(harness.session.CurrentQuestion(), selected);
    QCOMPARE(harness.Control<TextBox>("LPytanie")->toPlainText(),
             QStringLiteral("Pytanie numer %1").arg(selected));
}

void TestPanelTest::answerButtonsFollowAnswerCount_data() {
    QTest::addColumn<int>("answers");
    QTest::newRow("3 answers") << 3;
    QTest::newRow("4 answers") << 4;
    QTest::newRow("5 answers") << 5;
}

void TestPanelTest::answerButtonsFollowAnswerCount() {
    QFETCH(int, answers);
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(2, answers)));
    for (int slot = 1; slot <= 5; ++slot) {
        QCOMPARE(harness.AnswerButton(slot)->isVisibleTo(&harness.panel), slot <= answers);
        QCOMPARE(harness.AnswerLabel(slot)->isVisibleTo(&harness.panel), slot <= answers);
    }
    // Every letter column of a row lies inside the visible list.
    auto* listPanel = harness.Control<QWidget>("PPodListe");
    QVERIFY(listPanel->width() >= kRow * answers + 8 + 25);
    QVERIFY(harness.Control<QWidget>("PPodListwe")->x() >= listPanel->geometry().right());
    // A click on a button of a slot the test lacks is impossible; slot `answers` works.
    harness.ClickAnswer(answers);
    QCOMPARE(harness.panel.ButtonState(answers), LetterState::Marked);
}

// A question whose correct answer is left out and a wrong one marked shows yellow and red
// letters in its row and, when shown again, on its buttons; a rightly left-out one stays plain.
void TestPanelTest::finalStatesAfterGrading() {
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(3, 4)));
    int markedSlots[4] = {};
    for (int question = 1; question <= 3; ++question) {
        harness.ClickQuestionRow(question);
        const int slot = question == 2 ? harness.SlotOf(2, false) : harness.SlotOf(question, true);
        markedSlots[question] = slot;
        harness.ClickAnswer(slot);
    }
    harness.ClickQuestionRow(1);
    QTest::mouseClick(harness.Control<PictureButton>("ImOcen"), Qt::LeftButton);
    QCOMPARE(harness.session.CorrectCount(), 2);
    QVERIFY(!harness.Shown("ImOcen"));

    const int right = harness.SlotOf(2, true);
    const int marked = markedSlots[2];
    for (int slot = 1; slot <= 4; ++slot) {
        const LetterState state = slot == right    ? LetterState::Missed
                                  : slot == marked ? LetterState::Wrong
                                                   : LetterState::Plain;
        ExpectLetter(harness, 2, slot, state, false);
    }
    harness.ClickQuestionRow(2);
    QCOMPARE(harness.session.CurrentQuestion(), 2);
    for (int slot = 1; slot <= 4; ++slot) {
        const LetterState state = slot == right    ? LetterState::Missed
                                  : slot == marked ? LetterState::Wrong
                                                   : LetterState::Plain;
        ExpectLetter(harness, 2, slot, state, true);
    }
    // After grading a click on an answer changes nothing.
    harness.ClickAnswer(right);
    QCOMPARE(harness.panel.ButtonState(right), LetterState::Missed);
}

void TestPanelTest::hintPanelClosesWithAnotherQuestion() {
    TestDocument test = SmallTest(2, 3);
    test.At(1).hint = "Pomyśl o liczbie jeden.";
    PanelHarness harness;
    QVERIFY(harness.Start(test));
    QVERIFY(harness.Shown("ImPodpowiedz"));
    QTest::mouseClick(harness.Control<PictureButton>("ImPodpowiedz"), Qt::LeftButton);
    QVERIFY(harness.Shown("ptekstPodpowiedzi"));
    const QList<QLabel*> texts =
        harness.Control<QWidget>("ptekstPodpowiedzi")->findChildren<QLabel*>();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral("Pomyśl o liczbie jeden.");
    }));
    harness.ClickQuestionRow(2);
    QVERIFY(!harness.Shown("ptekstPodpowiedzi"));
    QVERIFY(!harness.Shown("ImPodpowiedz"));
}

// Two quick clicks through the window system, which makes the second one a double click.
void DoubleClick(QWidget* control) {
    QWidget* window = control->window();
    const QPoint at = control->mapTo(window, control->rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

// A double click is one click: a several-answers mark stays, the hint stays open.
void TestPanelTest::doubleClickCountsAsOneClick() {
    TestDocument test = SmallTest(2, 3, 1);
    test.At(1).hint = "Pomyśl.";
    PanelHarness harness;
    QVERIFY(harness.Start(test));
    QVERIFY(QTest::qWaitForWindowExposed(&harness.panel));
    DoubleClick(harness.AnswerButton(2));
    QCOMPARE(harness.session.SlotStates(1)[1], LetterState::Marked);
    QTest::mouseClick(harness.AnswerButton(2), Qt::LeftButton, {}, QPoint(5, 5), 1000);
    QCOMPARE(harness.session.SlotStates(1)[1], LetterState::Plain);  // later clicks count
    DoubleClick(harness.Control<PictureButton>("ImPodpowiedz"));
    QVERIFY(harness.Shown("ptekstPodpowiedzi"));
}

// No caret or selection can show in the question text: it takes no focus, a click on it sends
// the focus to the invisible button, and it has no context menu to copy from.
void TestPanelTest::questionTextGivesTheFocusAway() {
    PanelHarness harness;
    QVERIFY(harness.Start(SmallTest(1, 3)));
    harness.panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&harness.panel));
    auto* text = harness.Control<TextBox>("LPytanie");
    harness.Control<QWidget>("BFocus")->clearFocus();
    QTest::mouseClick(text->view(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(QApplication::focusWidget(), harness.Control<QWidget>("BFocus"));
    const QWidget* parts[] = {text, text->view(), text->verticalScrollBar()};
    for (const QWidget* part : parts) {
        QCOMPARE(part->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(text->contextMenuPolicy(), Qt::PreventContextMenu);
}

QTEST_MAIN(TestPanelTest)
#include "test_panel_test.moc"
