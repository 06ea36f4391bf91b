// The skinned scroll bar, the cylinder gauge and the text box, as the windows and the pupil
// use them.
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "ui/widgets/ProgressCyl.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/TextBox.h"
#include "ui/widgets/WrappedTextView.h"

using namespace oplix::ui;

namespace {

// A mouse event with the left button held, also for moves.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A bar beside a list, 16 x 258 like the question list's.
struct Bar {
    explicit Bar(int max, int largeChange = 9) {
        bar.resize(16, 258);
        bar.setMax(max);
        bar.setLargeChange(largeChange);
    }
    void Click(const QRect& part) {
        SendMouse(&bar, QEvent::MouseButtonPress, part.center());
        SendMouse(&bar, QEvent::MouseButtonRelease, part.center());
    }
    RAMScrollBar bar;
};

QColor PixelAt(ProgressCyl& gauge, QPoint at) {
    return gauge.grab().toImage().pixelColor(at);
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void sliderLengthFollowsLargeChange_data();
    void sliderLengthFollowsLargeChange();
    void positionStaysInRangeAndChangesAreSignalled();
    void pressesStepByPart_data();
    void pressesStepByPart();
    void heldArrowRepeatsUntilReleased();
    void draggedSliderSetsPositionAndSnapsBackFarAway();
    void gaugeKeepsPositionInRangeAndFillsFromTheBottom();
    void gaugeHintBreaksLines();
    void textBoxSplitsParagraphs_data();
    void textBoxSplitsParagraphs();
    void textBoxScrollsByLines();
    void everySkinPictureLoadsAtItsSize();
};

void WidgetsTest::sliderLengthFollowsLargeChange_data() {
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("largeChange");
    QTest::addColumn<int>("usedLargeChange");
    QTest::addColumn<int>("sliderLength");
    // The track is 258 - 2 * 16 = 226 pixels long.
    QTest::newRow("page step above the range") << 1 << 18 << 1 << 113;
    QTest::newRow("question list of 11") << 1 << 9 << 1 << 113;
    QTest::newRow("question list of 45") << 35 << 9 << 9 << 57;
    QTest::newRow("never shorter than 6 pixels") << 300 << 1 << 1 << 6;
    QTest::newRow("nothing to scroll") << 0 << 9 << 0 << 226;
}

void WidgetsTest::sliderLengthFollowsLargeChange() {
    QFETCH(int, max);
    QFETCH(int, largeChange);
    QFETCH(int, usedLargeChange);
    QFETCH(int, sliderLength);
    Bar bar(max, largeChange);
    QCOMPARE(bar.bar.trackRect(), QRect(0, 16, 16, 226));
    QCOMPARE(bar.bar.largeChange(), usedLargeChange);
    QCOMPARE(bar.bar.sliderRect().height(), sliderLength);
    QCOMPARE(bar.bar.sliderRect().top(), 16);
    bar.bar.setPosition(max);
    QCOMPARE(bar.bar.sliderRect().bottom(), bar.bar.trackRect().bottom());
}

void WidgetsTest::positionStaysInRangeAndChangesAreSignalled() {
    Bar bar(10);
    QSignalSpy changes(&bar.bar, &RAMScrollBar::changed);
    bar.bar.setPosition(15);
    QCOMPARE(bar.bar.position(), 10);
    bar.bar.setPosition(10);  // no change, no signal
    bar.bar.setPosition(-3);
    QCOMPARE(bar.bar.position(), 0);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.at(0).at(0).toInt(), 10);
    QCOMPARE(changes.at(1).at(0).toInt(), 0);

    bar.bar.setPosition(8);
    changes.clear();
    bar.bar.setMax(5);  // the position follows the maximum down, silently
    QCOMPARE(bar.bar.position(), 5);
    QCOMPARE(changes.size(), 0);
}

void WidgetsTest::pressesStepByPart_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("after");
    QTest::newRow("bottom arrow") << 5 << "bottom" << 6;
    QTest::newRow("top arrow") << 5 << "top" << 4;
    QTest::newRow("top arrow at the minimum") << 0 << "top" << 0;
    QTest::newRow("track below the slider") << 5 << "below" << 14;
    QTest::newRow("track above the slider") << 20 << "above" << 11;
    QTest::newRow("track below, near the end") << 30 << "below" << 35;
}

void WidgetsTest::pressesStepByPart() {
    QFETCH(int, start);
    QFETCH(QString, part);
    QFETCH(int, after);
    Bar bar(35);
    bar.bar.setPosition(start);
    const QRect slider = bar.bar.sliderRect();
    const QRect track = bar.bar.trackRect();
    QRect pressed;
    if (part == QLatin1String("bottom")) {
        pressed = bar.bar.bottomButtonRect();
    } else if (part == QLatin1String("top")) {
        pressed = bar.bar.topButtonRect();
    } else if (part == QLatin1String("below")) {
        pressed = QRect(0, slider.bottom() + 1, 16, track.bottom() - slider.bottom());
    } else {
        pressed = QRect(0, track.top(), 16, slider.top() - track.top());
    }
    bar.Click(pressed);
    QCOMPARE(bar.bar.position(), after);
}

// Held, an arrow goes on stepping after a pause; released, it stops.
void WidgetsTest::heldArrowRepeatsUntilReleased() {
    Bar bar(35);
    const QPoint arrow = bar.bar.bottomButtonRect().center();
    SendMouse(&bar.bar, QEvent::MouseButtonPress, arrow);
    QCOMPARE(bar.bar.position(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(bar.bar.position() >= 3, 5000);
    SendMouse(&bar.bar, QEvent::MouseButtonRelease, arrow);
    const int released = bar.bar.position();
    QTest::qWait(300);
    QCOMPARE(bar.bar.position(), released);
}

void WidgetsTest::draggedSliderSetsPositionAndSnapsBackFarAway() {
    Bar bar(20);
    bar.bar.setPosition(4);
    const QPoint grip = bar.bar.sliderRect().center();
    const int free = bar.bar.trackRect().height() - bar.bar.sliderRect().height();
    SendMouse(&bar.bar, QEvent::MouseButtonPress, grip);
    // Half of the free track further down is half of the range further on.
    SendMouse(&bar.bar, QEvent::MouseMove, grip + QPoint(0, free / 2));
    QCOMPARE(bar.bar.position(), 14);
    // Past the end of the track, still within an inch of the bar.
    SendMouse(&bar.bar, QEvent::MouseMove, grip + QPoint(0, bar.bar.trackRect().height()));
    QCOMPARE(bar.bar.position(), 20);
    const int inch = bar.bar.logicalDpiX();
    SendMouse(&bar.bar, QEvent::MouseMove, grip + QPoint(16 + inch + 5, free / 2));
    QCOMPARE(bar.bar.position(), 4);
    SendMouse(&bar.bar, QEvent::MouseMove, grip + QPoint(8, free / 2));
    QCOMPARE(bar.bar.position(), 14);
    SendMouse(&bar.bar, QEvent::MouseButtonRelease, grip + QPoint(8, free / 2));
    QCOMPARE(bar.bar.position(), 14);
}

void WidgetsTest::gaugeKeepsPositionInRangeAndFillsFromTheBottom() {
    ProgressCyl gauge;
    gauge.resize(12, 113);
    gauge.setMax(0);  // equal to the minimum: one more
    QCOMPARE(gauge.maximum(), 1);
    gauge.setMax(10);
    gauge.setPosition(25);
    QCOMPARE(gauge.position(), 10);
    QCOMPARE(gauge.filledHeight(), 111);
    gauge.setPosition(-4);
    QCOMPARE(gauge.position(), 0);
    QCOMPARE(gauge.filledHeight(), 0);

    // Half full: the lower half in the white fore colour, the upper in the olive back colour.
    gauge.setPosition(5);
    const QPoint lower(5, 100);
    const QPoint upper(5, 10);
    const QColor fore = PixelAt(gauge, lower);
    const QColor back = PixelAt(gauge, upper);
    QVERIFY2(fore.red() > 200 && fore.green() > 200 && fore.blue() > 200, qPrintable(fore.name()));
    QVERIFY2(back.red() > back.blue() + 30 && back.green() > back.blue() + 30,
             qPrintable(back.name()));
    QCOMPARE(PixelAt(gauge, QPoint(0, 50)), ProgressCyl::BorderColor());
    // The cylinder's sides are darker than the line the light falls on.
    QVERIFY(PixelAt(gauge, QPoint(1, 10)).lightness() < back.lightness());
    gauge.setPosition(10);
    QVERIFY(PixelAt(gauge, upper).blue() > 200);
}

void WidgetsTest::gaugeHintBreaksLines() {
    ProgressCyl gauge;
    gauge.setHint(QStringLiteral("Czas pracy: 3 min\rPozostało: 7 min"));
    QCOMPARE(gauge.toolTip(), QStringLiteral("Czas pracy: 3 min\nPozostało: 7 min"));
}

void WidgetsTest::textBoxSplitsParagraphs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("CR alone") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("LF alone") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("empty line between") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("break at the end") << "a\r\n" << QStringList{"a", ""};
    QTest::newRow("no text") << "" << QStringList{""};
}

void WidgetsTest::textBoxSplitsParagraphs() {
    QFETCH(QString, text);
    QFETCH(QStringList, paragraphs);
    TextBox box;
    box.resize(441, 63);
    box.setPlainText(text);
    QCOMPARE(box.toPlainText(), paragraphs.join(QLatin1Char('\n')));
}

// The bar's range is the lines the box cannot show; bar, wheel and a new text move the text.
void WidgetsTest::textBoxScrollsByLines() {
    TextBox box;
    box.resize(441, 63);
    QStringList lines;
    for (int line = 1; line <= 20; ++line) {
        lines.push_back(QStringLiteral("wiersz %1").arg(line));
    }
    box.show();
    box.setPlainText(lines.join(QLatin1Char('\n')));
    QScrollBar* bar = box.verticalScrollBar();
    const int shown = box.view()->height() / box.view()->lineHeight();
    QVERIFY(shown >= 1 && shown < 20);
    QCOMPARE(bar->maximum(), 20 - shown);
    QCOMPARE(bar->x() + bar->width(), box.width());
    QCOMPARE(box.view()->width(), box.width() - bar->width());

    bar->setValue(2);
    QCOMPARE(box.view()->firstVisibleLine(), 2);
    QWheelEvent down(QPointF(10, 10), box.view()->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box.view(), &down);
    QCOMPARE(bar->value(), 5);
    QCOMPARE(box.view()->firstVisibleLine(), 5);
    bar->setValue(99);
    QCOMPARE(box.view()->firstVisibleLine(), 20 - shown);

    box.setPlainText(QStringLiteral("krótko"));
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(box.view()->firstVisibleLine(), 0);
}

void WidgetsTest::everySkinPictureLoadsAtItsSize() {
    for (const SkinPictureEntry& entry : kSkinPictures) {
        const QImage picture = LoadSkinPicture(entry.id);
        const QString name = QString::fromLatin1(entry.name.data(), entry.name.size());
        QVERIFY2(!picture.isNull(), qPrintable(name));
        QCOMPARE(picture.size(), QSize(entry.width, entry.height));
    }
}

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
