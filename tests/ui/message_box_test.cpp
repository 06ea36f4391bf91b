// The message box answered by keys, by clicks and by the platform's close.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "ui/widgets/PictureButton.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/TabKeyFilter.h"

using oplix::MessageBoxResult;
using oplix::MessageIcon;
using oplix::MessageKind;
using oplix::ui::MessageBoxWindow;

Q_DECLARE_METATYPE(MessageKind)
Q_DECLARE_METATYPE(MessageBoxResult)

namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

}  // namespace
Q_DECLARE_METATYPE(QList<Key>)

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        box_ = new MessageBoxWindow();
        qApp->installEventFilter(new oplix::ui::TabKeyFilter(qApp, [this] {
            if (box_->isVisible()) {
                box_->NextButton();
            }
        }));
    }
    void cleanupTestCase() { delete box_; }

    // Keys typed into a shown box, and the answer it closes with. A key that answers nothing
    // leaves the box open; closing it by the platform's means then leaves "no".
    void keysAnswer_data() {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QList<Key>>("keys");
        QTest::addColumn<MessageBoxResult>("answer");
        const auto one = MessageKind::Close;
        const auto three = MessageKind::YesNoCancel;
        QTest::newRow("close: Enter")
            << one << QList<Key>{{Qt::Key_Return}} << MessageBoxResult::Closed;
        QTest::newRow("close: Escape")
            << one << QList<Key>{{Qt::Key_Escape}} << MessageBoxResult::Closed;
        QTest::newRow("close: Z") << one << QList<Key>{{Qt::Key_Z}} << MessageBoxResult::Closed;
        QTest::newRow("close: T N A do nothing")
            << one << QList<Key>{{Qt::Key_T}, {Qt::Key_N}, {Qt::Key_A}} << MessageBoxResult::No;
        QTest::newRow("three: Enter at once")
            << three << QList<Key>{{Qt::Key_Return}} << MessageBoxResult::Yes;
        QTest::newRow("three: Right, Enter")
            << three << QList<Key>{{Qt::Key_Right}, {Qt::Key_Enter}} << MessageBoxResult::No;
        QTest::newRow("three: Left, Enter")
            << three << QList<Key>{{Qt::Key_Left}, {Qt::Key_Return}} << MessageBoxResult::Cancel;
        QTest::newRow("three: Tab as Right")
            << three << QList<Key>{{Qt::Key_Tab}, {Qt::Key_Return}} << MessageBoxResult::No;
        QTest::newRow("three: Right wraps")
            << three
            << QList<Key>{{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Return}}
            << MessageBoxResult::Yes;
        QTest::newRow("three: shifted letter")
            << three << QList<Key>{{Qt::Key_A, Qt::ShiftModifier}} << MessageBoxResult::Cancel;
        QTest::newRow("three: N") << three << QList<Key>{{Qt::Key_N}} << MessageBoxResult::No;
        QTest::newRow("three: Escape, F5 and keypad 1 do nothing, then T")
            << three
            << QList<Key>{{Qt::Key_Escape},
                          {Qt::Key_F5},
                          {Qt::Key_1, Qt::KeypadModifier},
                          {Qt::Key_T}}
            << MessageBoxResult::Yes;
        QTest::newRow("three: Z does nothing")
            << three << QList<Key>{{Qt::Key_Z}} << MessageBoxResult::No;
    }
    void keysAnswer() {
        QFETCH(MessageKind, kind);
        QFETCH(QList<Key>, keys);
        QFETCH(MessageBoxResult, answer);
        ShowWith(kind);
        for (const Key& key : keys) {
            if (box_->isVisible()) {
                QTest::keyClick(box_, key.key, key.modifiers);
            }
        }
        if (box_->isVisible()) {
            box_->close();  // as the window manager would
        }
        QCOMPARE(box_->Answer(), answer);
    }

    void closeMarkAnswersByButtons() {
        for (const auto& [kind, answer] :
             {std::pair{MessageKind::Close, MessageBoxResult::Closed},
              std::pair{MessageKind::YesNoCancel, MessageBoxResult::Cancel}}) {
            ShowWith(kind);
            ClickAt(QPoint(330, 15));
            QVERIFY(!box_->isVisible());
            QCOMPARE(box_->Answer(), answer);
        }
    }

    void buttonClicksAnswer() {
        const struct {
            QPoint at;
            MessageBoxResult answer;
        } clicks[] = {{{100, 128}, MessageBoxResult::Yes},
                      {{200, 128}, MessageBoxResult::No},
                      {{290, 128}, MessageBoxResult::Cancel}};
        for (const auto& click : clicks) {
            ShowWith(MessageKind::YesNoCancel);
            QVERIFY(qobject_cast<oplix::ui::PictureButton*>(box_->childAt(click.at)) != nullptr);
            ClickAt(click.at);
            QCOMPARE(box_->Answer(), click.answer);
        }
    }

    void textBreaksLinesAtCarriageReturns() {
        box_->Prepare(MessageKind::Close, MessageIcon::Warning,
                      "\rModuł Test nie obsługuje plików tego typu.\rWskaż pliki testu.");
        const QList<QLabel*> labels = box_->findChildren<QLabel*>();
        const bool found = std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->text() ==
                   QStringLiteral(
                       "\nModuł Test nie obsługuje plików tego typu.\nWskaż pliki testu.");
        });
        QVERIFY(found);
    }

    // The minute timer may need the box while it is open: the second call waits, the first box
    // keeps its text until it is answered, and each caller gets its own answer.
    void secondBoxWaitsUntilTheFirstIsAnswered() {
        QStringList textsWhenAnswered;
        MessageBoxResult second = MessageBoxResult::Cancel;
        bool secondReturnedEarly = false;
        QTimer::singleShot(0, qApp, [&] {  // a tick inside the first box
            QTimer::singleShot(0, qApp, [&] {
                textsWhenAnswered << BoxText();
                ClickAt(QPoint(100, 128));  // "Tak" on the first box
                QTimer::singleShot(0, qApp, [&] {
                    textsWhenAnswered << BoxText();
                    QTest::keyClick(box_, Qt::Key_Return);
                });
            });
            second = box_->ShowMessageBox(MessageKind::Close, MessageIcon::Warning, "Drugi");
            secondReturnedEarly = textsWhenAnswered.size() < 2;
        });
        const MessageBoxResult first =
            box_->ShowMessageBox(MessageKind::YesNoCancel, MessageIcon::Question, "Pierwszy");
        QCOMPARE(first, MessageBoxResult::Yes);
        QCOMPARE(second, MessageBoxResult::Closed);
        QVERIFY(!secondReturnedEarly);
        QCOMPARE(textsWhenAnswered,
                 (QStringList{QStringLiteral("Pierwszy"), QStringLiteral("Drugi")}));
        QVERIFY(!box_->isVisible());
    }

    // The filter concerns the program's skinned windows only: in a file dialog Tab moves on.
    void fileDialogKeepsItsTab() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setFocus();
        QCOMPARE(QApplication::focusWidget(), name);
        QTest::keyClick(name, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != name);
        dialog.reject();
    }

private:
    QString BoxText() const {
        return box_->findChild<QLabel*>(QStringLiteral("LTekstWarning"))->text();
    }

    // A click at a point of the box goes to the control lying there.
    void ClickAt(QPoint at) {
        QWidget* target = box_->childAt(at);
        QVERIFY(target != nullptr);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(box_, at));
    }

    void ShowWith(MessageKind kind) {
        box_->Prepare(kind, MessageIcon::Question, "Czy rzeczywiście zamknąć?");
        box_->show();
        QVERIFY(QTest::qWaitForWindowExposed(box_));
    }

    MessageBoxWindow* box_ = nullptr;
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
