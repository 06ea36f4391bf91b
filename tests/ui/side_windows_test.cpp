// The question text and picture windows beside the test panel, fed from a real test archive:
// the picture window's states and sizes, the text window's font tools, scroll bar and height
// grip with its dotted frame, the copies to the clipboard, and both windows driven by a
// test session.
#include <QClipboard>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "storage/BmpWriter.h"
#include "storage/Cp1250.h"
#include "storage/GifWriter.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "testing/TestSession.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/TestPanel.h"
#include "ui/widgets/DotFrame.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/WrappedTextView.h"
#include "ui/windows/QuestionPictureWindow.h"
#include "ui/windows/QuestionTextWindow.h"
#include "ui_test_support.h"

using namespace oplix;
using namespace oplix::ui;
using namespace oplix::ui_testing;

using PictureState = QuestionPictureWindow::State;
Q_DECLARE_METATYPE(oplix::ui::QuestionPictureWindow::State)

namespace {

constexpr QPoint kPanelOrigin{40, 30};
constexpr int kTextPanelHeight = 250 - 65;

// Every pixel differs from its neighbours across the whole width, so that any part of the
// picture can be told from any other.
Rgb PixelOf(int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x % 256), static_cast<std::uint8_t>(y % 256),
               static_cast<std::uint8_t>(x / 256 * 60 + 20)};
}

Bytes PictureFile(int width, int height) {
    Result<Bitmap> picture = Bitmap::Create(width, height, PixelFormat::Rgb24);
    for (int y = 0; y < height; ++y) {
        std::span<std::uint8_t> row = picture->Row(y);
        for (int x = 0; x < width; ++x) {
            const Rgb colour = PixelOf(x, y);
            row[3 * x] = colour.r;
            row[3 * x + 1] = colour.g;
            row[3 * x + 2] = colour.b;
        }
    }
    return *WriteBmp(*picture);
}

// Two colours, neither of them in the other pictures.
Bytes TwoColourGif() {
    Result<Bitmap> picture = Bitmap::Create(8, 8, PixelFormat::Indexed8);
    picture->SetPalette({Rgb{250, 0, 250}, Rgb{0, 250, 250}});
    for (int y = 0; y < 8; ++y) {
        picture->Row(y)[static_cast<std::size_t>(y)] = 1;
    }
    return *WriteGif(*picture);
}

QRgb QtPixelOf(int x, int y) {
    const Rgb colour = PixelOf(x, y);
    return qRgb(colour.r, colour.g, colour.b);
}

Bytes TextFile(const QStringList& lines) {
    const std::string text = Utf8ToCp1250(lines.join(QStringLiteral("\r\n")).toStdString());
    return Bytes(text.begin(), text.end());
}

QString PictureName(QSize size) {
    return QStringLiteral("P%1x%2.BMP").arg(size.width()).arg(size.height());
}

const QStringList kPolishText{QStringLiteral("Zażółć gęślą jaźń."), QString(),
                              QStringLiteral("Trójkąt ma trzy boki.")};

// Short lines, each on a line of its own.
QStringList NumberedLines(int count) {
    QStringList lines;
    for (int line = 1; line <= count; ++line) {
        lines.push_back(QStringLiteral("Wiersz %1").arg(line));
    }
    return lines;
}

QString LongParagraph() {
    QStringList words;
    for (int word = 1; word <= 120; ++word) {
        words.push_back(QStringLiteral("słowo%1").arg(word));
    }
    return words.join(QLatin1Char(' '));
}

// One archive for all tests, written by the core's test writer with the members below.
class Archive {
public:
    static const TVfsPAK& Open() {
        static Archive archive;
        return archive.archive_;
    }
    static const std::string& Path() {
        Open();
        return path_;
    }

    static const QList<QSize>& PictureSizes() {
        static const QList<QSize> sizes{{800, 300}, {100, 50}, {700, 700}, {300, 100}, {30, 700}};
        return sizes;
    }

private:
    Archive() {
        std::vector<TestMember> members;
        for (const QSize size : PictureSizes()) {
            members.push_back(
                {PictureName(size).toStdString(), PictureFile(size.width(), size.height())});
        }
        members.push_back({"Polski.txt", TextFile(kPolishText)});
        members.push_back({"Krotki.txt", TextFile(NumberedLines(3))});
        members.push_back({"Dlugi.txt", TextFile({LongParagraph(), LongParagraph()})});
        members.push_back({"Zepsuty.jpg", Bytes{0xFF, 0xD8, 0x00, 0x01}});
        members.push_back({"Dwa.gif", TwoColourGif()});
        TestDocument test = SmallTest(3, 3);
        test.At(1).textMember = "Dlugi.txt";
        test.At(1).pictureMember = PictureName({800, 300}).toStdString();
        test.At(3).pictureMember = test.At(1).pictureMember;
        path_ = folder_.filePath(QStringLiteral("obrazki.skt")).toStdString();
        if (!WriteTest40(path_, test, Test40Options{}, members) ||
            !OpenArchiveForReading(path_, archive_)) {
            qFatal("the test archive could not be written");
        }
    }

    QTemporaryDir folder_;
    static inline std::string path_;
    TVfsPAK archive_;
};

void WriteLines(const QStringList& lines, const QString& name, QTemporaryDir& folder,
                TVfsPAK& archive) {
    const std::string path = folder.filePath(name + QStringLiteral(".skt")).toStdString();
    const std::vector<TestMember> members{{"Tekst.txt", TextFile(lines)}};
    QVERIFY(WriteTestArchive(path, members));
    QVERIFY(OpenArchiveForReading(path, archive));
}

// Sends a left-button event with the cursor at a screen position of its own choosing.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint global) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, widget->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QWidget* Control(QWidget* window, const char* name) {
    QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("no control %s", name);
    }
    return control;
}

bool Shown(QWidget* window, const char* name) {
    return Control(window, name)->isVisibleTo(window);
}

// Clicks a control the pupil can see; a hidden one cannot be clicked.
bool Click(QWidget* window, const char* name) {
    QWidget* control = Control(window, name);
    if (!control->isVisibleTo(window)) {
        return false;
    }
    const QPoint centre = control->mapToGlobal(control->rect().center());
    SendMouse(control, QEvent::MouseButtonPress, centre);
    SendMouse(control, QEvent::MouseButtonRelease, centre);
    return true;
}

// Drags a control by `by` on the screen.
void Drag(QWidget* window, const char* name, QPoint by) {
    QWidget* control = Control(window, name);
    const QPoint start = control->mapToGlobal(control->rect().center());
    SendMouse(control, QEvent::MouseButtonPress, start);
    SendMouse(control, QEvent::MouseMove, start + by);
    SendMouse(control, QEvent::MouseButtonRelease, start + by);
}

int LinesPerPageAt(int fontSize) {
    return kTextPanelHeight / QFontMetrics(SkinFont(fontSize)).height();
}

struct TextWindowParts {
    explicit TextWindowParts(QuestionTextWindow& window)
        : view(window.findChild<WrappedTextView*>(QStringLiteral("Mtekst"))),
          bar(window.findChild<RAMScrollBar*>(QStringLiteral("ListwaV"))),
          barShown(Shown(&window, "PPodListwe")) {}
    WrappedTextView* view;
    RAMScrollBar* bar;
    bool barShown;
};

// The windows shown at their places beside a main panel at (40, 30).
struct ShownWindows {
    ShownWindows() {
        text.SetPlacement([] { return kPanelOrigin; });
        picture.SetPlacement([] { return kPanelOrigin; });
        picture.ShowEmpty();
        text.ShowEmpty();
        // They are mapped from the event loop.
        QCoreApplication::processEvents();
    }
    QuestionTextWindow text;
    QuestionPictureWindow picture;
};

// A session on the archive's test with the real side windows.
struct SessionHarness : SessionRig<QuestionTextWindow, QuestionPictureWindow> {
    bool Start() {
        CurrentChoice choice;
        choice.testPath = Archive::Path();
        choice.mode = StartMode::TestFileAnonymously;
        messages.answer = MessageBoxResult::Yes;  // leaving an unfinished test is confirmed
        return session.StartTest(choice);
    }
};

QList<QWidget*> VisibleTopLevels() {
    QList<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            shown.push_back(widget);
        }
    }
    return shown;
}

QtMessageHandler testOutput = nullptr;

// The offscreen platform cannot shape or raise windows and says so at every showing.
void QuietAboutPlatformLimits(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (!message.startsWith(QStringLiteral("This plugin does not support"))) {
        testOutput(type, context, message);
    }
}

}  // namespace

class SideWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testOutput = qInstallMessageHandler(QuietAboutPlatformLimits); }
    void windowsShowFoldedAtTheirPlaces();
    void pictureStatesHaveTheirSizes_data();
    void pictureStatesHaveTheirSizes();
    void pictureFrameShowsTopLeftPartAndCopyHoldsWholePicture();
    void pictureAfterAGifKeepsItsOwnColours();
    void foldedPictureUnfoldsToItsZoomAndEmptyOneIgnoresMarks();
    void undecodablePictureShowsNothing();
    void shapesCutTheCorners();
    void fontToolsStepBetweenEightAndEleven();
    void scrollBarFollowsWrappedLines();
    void fontChangeCanBringTheBarAndStartsFromTheTop();
    void barWheelAndTextStayInStep();
    void gripSetsHeightWithDottedFrame_data();
    void gripSetsHeightWithDottedFrame();
    void copiesTextUnchanged();
    void emptyAndCloseThroughTheSessionInterface();
    void titleStripDragsAndKeepsWindowReachable();
    void dotFrameDrawsRingAndErasesIt_data();
    void dotFrameDrawsRingAndErasesIt();
    void dotFrameTracksCursorAndErasesWhenDestroyed();
    void sessionDrivesBothWindows();
    void closingBeforeTheShowingKeepsWindowsHidden();
};

void SideWindowsTest::windowsShowFoldedAtTheirPlaces() {
    ShownWindows windows;
    QVERIFY(windows.text.isVisible());
    QCOMPARE(windows.text.pos(), kPanelOrigin + QPoint(250, 55));
    QCOMPARE(windows.text.size(), QSize(465, 26));
    QVERIFY(windows.text.StripShown() && !windows.text.BodyShown());
    QVERIFY(windows.picture.isVisible());
    QCOMPARE(windows.picture.pos(), kPanelOrigin + QPoint(250, 25));
    QCOMPARE(windows.picture.size(), QSize(365, 26));
    QCOMPARE(windows.picture.PictureState(), PictureState::Empty);
    QVERIFY(windows.picture.StripShown() && !windows.picture.BodyShown());
}

void SideWindowsTest::pictureStatesHaveTheirSizes_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shownPart");
    QTest::addColumn<QSize>("enlarged");
    QTest::newRow("wider than 600") << QSize(800, 300) << QSize(600, 300) << QSize(721, 371);
    QTest::newRow("small stays at the normal size")
        << QSize(100, 50) << QSize(100, 50) << QSize(365, 200);
    QTest::newRow("both sides capped") << QSize(700, 700) << QSize(600, 600) << QSize(721, 671);
    QTest::newRow("only wider") << QSize(300, 100) << QSize(300, 100) << QSize(421, 200);
    QTest::newRow("only taller") << QSize(30, 700) << QSize(30, 600) << QSize(365, 671);
}

void SideWindowsTest::pictureStatesHaveTheirSizes() {
    QFETCH(QSize, picture);
    QFETCH(QSize, shownPart);
    QFETCH(QSize, enlarged);
    ShownWindows windows;
    QuestionPictureWindow& window = windows.picture;
    window.Load(Archive::Open(), PictureName(picture).toStdString());
    QCOMPARE(window.LoadedName(), PictureName(picture));
    QCOMPARE(window.PictureState(), PictureState::Normal);
    QCOMPARE(window.size(), QSize(365, 200));
    QCOMPARE(window.mask().boundingRect(), QRect(0, 0, 365, 200));
    QCOMPARE(Control(&window, "Img")->size(), shownPart);
    QCOMPARE(Control(&window, "PPodImg")->size(), shownPart + QSize(6, 6));
    QCOMPARE(Control(&window, "PCentrum")->size(), QSize(250, 135));
    QVERIFY(Shown(&window, "PPowieksz") && !Shown(&window, "PZmniejsz"));

    QVERIFY(Click(&window, "ImPowieksz"));
    QCOMPARE(window.PictureState(), PictureState::Enlarged);
    QCOMPARE(window.size(), enlarged);
    QCOMPARE(window.mask().boundingRect(), QRect(QPoint(0, 0), enlarged));
    QCOMPARE(Control(&window, "PCentrum")->size(), enlarged - QSize(115, 65));
    QCOMPARE(Control(&window, "PRightBottom")->geometry().bottomRight(),
             QPoint(enlarged.width() - 1, enlarged.height() - 1));
    QVERIFY(!Shown(&window, "PPowieksz") && Shown(&window, "PZmniejsz"));

    QVERIFY(Click(&window, "ImZmniejsz"));
    QCOMPARE(window.PictureState(), PictureState::Normal);
    QCOMPARE(window.size(), QSize(365, 200));
    QVERIFY(Shown(&window, "PPowieksz") && !Shown(&window, "PZmniejsz"));
}

void SideWindowsTest::pictureFrameShowsTopLeftPartAndCopyHoldsWholePicture() {
    ShownWindows windows;
    QuestionPictureWindow& window = windows.picture;
    window.Load(Archive::Open(), PictureName({800, 300}).toStdString());
    QVERIFY(Click(&window, "ImPowieksz"));
    const QImage shown = Control(&window, "Img")->grab().toImage();
    QCOMPARE(shown.size(), QSize(600, 300));
    for (const QPoint at : {QPoint(0, 0), QPoint(599, 0), QPoint(599, 299), QPoint(300, 150)}) {
        QCOMPARE(shown.pixel(at), QtPixelOf(at.x(), at.y()));
    }

    QGuiApplication::clipboard()->clear();
    QVERIFY(Click(&window, "LCopyImg"));
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(800, 300));
    for (const QPoint at : {QPoint(0, 0), QPoint(650, 10), QPoint(799, 299)}) {
        QCOMPARE(copied.pixel(at), QtPixelOf(at.x(), at.y()));
    }
}

void SideWindowsTest::pictureAfterAGifKeepsItsOwnColours() {
    ShownWindows windows;
    QuestionPictureWindow& window = windows.picture;
    window.Load(Archive::Open(), "Dwa.gif");
    QCOMPARE(window.Picture().pixel(3, 3), qRgb(0, 250, 250));
    window.Load(Archive::Open(), PictureName({800, 300}).toStdString());
    for (const QPoint at : {QPoint(0, 0), QPoint(123, 45), QPoint(799, 299)}) {
        QCOMPARE(window.Picture().pixel(at), QtPixelOf(at.x(), at.y()));
    }
}

void SideWindowsTest::foldedPictureUnfoldsToItsZoomAndEmptyOneIgnoresMarks() {
    ShownWindows windows;
    QuestionPictureWindow& window = windows.picture;
    window.Load(Archive::Open(), PictureName({800, 300}).toStdString());
    QVERIFY(Click(&window, "LZwinOkno"));
    QCOMPARE(window.PictureState(), PictureState::Strip);
    QCOMPARE(window.size(), QSize(365, 26));
    QVERIFY(Click(&window, "LRozwinOkno"));
    QCOMPARE(window.PictureState(), PictureState::Normal);

    QVERIFY(Click(&window, "ImPowieksz"));
    QVERIFY(Click(&window, "LZwinOkno"));
    QCOMPARE(window.PictureState(), PictureState::Strip);
    QCOMPARE(window.size(), QSize(721, 26));
    QCOMPARE(window.mask().boundingRect(), QRect(0, 0, 721, 26));
    QVERIFY(window.StripShown());
    QVERIFY(Click(&window, "LRozwinOkno"));
    QCOMPARE(window.PictureState(), PictureState::Enlarged);
    QCOMPARE(window.size(), QSize(721, 371));

    static_cast<QuestionSideView&>(window).Empty();
    QCOMPARE(window.PictureState(), PictureState::Empty);
    QCOMPARE(window.size(), QSize(365, 26));
    QVERIFY(window.LoadedName().isEmpty());
    QVERIFY(Click(&window, "LRozwinOkno"));
    QCOMPARE(window.PictureState(), PictureState::Empty);
    QVERIFY(!window.BodyShown());
}

void SideWindowsTest::undecodablePictureShowsNothing() {
    ShownWindows windows;
    QuestionPictureWindow& window = windows.picture;
    window.Load(Archive::Open(), PictureName({100, 50}).toStdString());
    window.Load(Archive::Open(), "Zepsuty.jpg");
    QCOMPARE(window.PictureState(), PictureState::Normal);
    QCOMPARE(window.LoadedName(), QStringLiteral("Zepsuty.jpg"));
    QCOMPARE(Control(&window, "Img")->size(), QSize(0, 0));
    QVERIFY(!Shown(&window, "PPowieksz"));
}

void SideWindowsTest::shapesCutTheCorners() {
    ShownWindows windows;
    windows.text.Load(Archive::Open(), "Krotki.txt");
    windows.picture.Load(Archive::Open(), PictureName({100, 50}).toStdString());
    const QRegion octagon = windows.text.mask();
    const QRegion rounded = windows.picture.mask();
    QCOMPARE(octagon.boundingRect(), QRect(0, 0, 465, 250));
    QCOMPARE(rounded.boundingRect(), QRect(0, 0, 365, 200));
    for (const QPoint corner : {QPoint(0, 0), QPoint(464, 0), QPoint(0, 249), QPoint(464, 249)}) {
        QVERIFY2(!octagon.contains(corner), qPrintable(QString::number(corner.x())));
    }
    for (const QPoint inside : {QPoint(4, 0), QPoint(0, 4), QPoint(232, 125), QPoint(460, 0)}) {
        QVERIFY(octagon.contains(inside));
    }
    // Cut straight, the octagon loses (1, 1); the arc of the rounded corner keeps it.
    QVERIFY(!octagon.contains(QPoint(1, 1)));
    QVERIFY(rounded.contains(QPoint(1, 1)));
    QVERIFY(!rounded.contains(QPoint(0, 0)) && !rounded.contains(QPoint(364, 199)));
    QVERIFY(rounded.contains(QPoint(0, 100)) && rounded.contains(QPoint(182, 0)));
}

void SideWindowsTest::fontToolsStepBetweenEightAndEleven() {
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(Archive::Open(), "Dlugi.txt");
    const TextWindowParts parts(window);
    QCOMPARE(window.FontSize(), 9);
    struct Step {
        const char* tool;
        int size;
        bool smallerShown;
        bool largerShown;
    };
    const Step steps[] = {{"ImZwieksz", 10, true, true},  {"ImZwieksz", 11, true, false},
                          {"ImZmniejsz", 10, true, true}, {"ImZmniejsz", 9, true, true},
                          {"ImZmniejsz", 8, false, true}, {"ImZwieksz", 9, true, true}};
    for (const Step& step : steps) {
        QVERIFY2(Click(&window, step.tool), step.tool);
        QCOMPARE(window.FontSize(), step.size);
        QCOMPARE(parts.view->font().pointSize(), SkinFont(step.size).pointSize());
        QCOMPARE(Shown(&window, "PZmniejsz"), step.smallerShown);
        QCOMPARE(Shown(&window, "PZwieksz"), step.largerShown);
    }
    QVERIFY(Click(&window, "ImZmniejsz"));
    QVERIFY(!Click(&window, "ImZmniejsz"));
    QCOMPARE(window.FontSize(), 8);

    window.ShowEmpty();
    QCOMPARE(window.FontSize(), 9);
    window.Load(Archive::Open(), "Krotki.txt");
    QCOMPARE(parts.view->font().pointSize(), SkinFont(9).pointSize());
    QVERIFY(Shown(&window, "PZmniejsz") && Shown(&window, "PZwieksz"));
}

void SideWindowsTest::scrollBarFollowsWrappedLines() {
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(Archive::Open(), "Krotki.txt");
    QCOMPARE(window.size(), QSize(465, 250));
    QVERIFY(window.BodyShown() && !window.StripShown());
    QCOMPARE(window.LinesPerPage(), LinesPerPageAt(9));
    QVERIFY(!TextWindowParts(window).barShown);

    window.Load(Archive::Open(), "Dlugi.txt");
    const TextWindowParts parts(window);
    const QStringList lines = parts.view->lines();
    QVERIFY2(lines.size() > 2 * 4, "two long paragraphs wrap into many lines");
    const QFontMetrics metrics(parts.view->font());
    QString joined;
    for (const QString& line : lines) {
        QVERIFY(metrics.horizontalAdvance(line.trimmed()) <= parts.view->width());
        joined += line;
    }
    QCOMPARE(joined, LongParagraph() + LongParagraph());
    QVERIFY(parts.barShown);
    QCOMPARE(parts.bar->maximum(), lines.size() - LinesPerPageAt(9));
    QCOMPARE(parts.bar->largeChange(), LinesPerPageAt(9) - 1);
    QCOMPARE(parts.bar->smallChange(), LinesPerPageAt(9) - 2);
    QCOMPARE(parts.bar->position(), 0);
}

void SideWindowsTest::fontChangeCanBringTheBarAndStartsFromTheTop() {
    QTemporaryDir folder;
    TVfsPAK archive;
    WriteLines(NumberedLines(LinesPerPageAt(9)), QStringLiteral("strona"), folder, archive);
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(archive, "Tekst.txt");
    QVERIFY2(!TextWindowParts(window).barShown, "the text fills the page exactly");
    QVERIFY(Click(&window, "ImZwieksz"));
    QVERIFY(LinesPerPageAt(10) < LinesPerPageAt(9));
    const TextWindowParts larger(window);
    QVERIFY(larger.barShown);
    QCOMPARE(larger.bar->maximum(), LinesPerPageAt(9) - LinesPerPageAt(10));

    larger.bar->setPosition(1);
    QCOMPARE(larger.view->firstVisibleLine(), 1);
    QVERIFY(Click(&window, "ImZwieksz"));
    QCOMPARE(larger.view->firstVisibleLine(), 0);
    QCOMPARE(larger.bar->position(), 0);
}

void SideWindowsTest::barWheelAndTextStayInStep() {
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(Archive::Open(), "Dlugi.txt");
    const TextWindowParts parts(window);
    parts.bar->setPosition(4);
    QCOMPARE(parts.view->firstVisibleLine(), 4);
    const QPoint middle = parts.view->rect().center();
    QWheelEvent down(middle, parts.view->mapToGlobal(middle), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(parts.view, &down);
    QCOMPARE(parts.view->firstVisibleLine(), 7);
    QCOMPARE(parts.bar->position(), 7);
    parts.bar->setPosition(parts.bar->maximum() + 10);
    QCOMPARE(parts.view->firstVisibleLine(), parts.bar->maximum());
}

void SideWindowsTest::gripSetsHeightWithDottedFrame_data() {
    QTest::addColumn<int>("releasedBelowTop");
    QTest::addColumn<int>("height");
    QTest::newRow("taller") << 420 << 420;
    QTest::newRow("less than 250 below the top edge") << 120 << 250;
}

void SideWindowsTest::gripSetsHeightWithDottedFrame() {
    QFETCH(int, releasedBelowTop);
    QFETCH(int, height);
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(Archive::Open(), "Dlugi.txt");
    const int linesBefore = TextWindowParts(window).bar->maximum();
    QWidget* grip = Control(&window, "LCiongnijOkno");
    const QPoint top = window.pos();
    const QPoint pressed = grip->mapToGlobal(grip->rect().center());
    SendMouse(grip, QEvent::MouseButtonPress, pressed);
    const QPoint released(pressed.x() + 7, top.y() + releasedBelowTop);
    SendMouse(grip, QEvent::MouseMove, released);
    const DotFrame& frame = window.ResizingFrame();
    QVERIFY(frame.isVisible() && frame.isTracking());
    QCOMPARE(frame.drawnRegion().boundingRect(),
             QRect(top, QSize(released.x() - top.x(), releasedBelowTop)));
    QVERIFY(!frame.drawnRegion().contains(top + QPoint(10, 10)));
    QCOMPARE(window.size(), QSize(465, 250));

    SendMouse(grip, QEvent::MouseButtonRelease, released);
    QVERIFY(!frame.isVisible());
    QVERIFY(frame.drawnRegion().isEmpty());
    QCOMPARE(window.BodyHeight(), height);
    QCOMPARE(window.size(), QSize(465, height));
    QCOMPARE(window.pos(), top);
    QCOMPARE(Control(&window, "PPodTxt")->height(), height - 65);
    QCOMPARE(Control(&window, "PRightBottom")->pos(), QPoint(435, height - 29));
    const int linesPerPage = (height - 65) / QFontMetrics(SkinFont(9)).height();
    QCOMPARE(window.LinesPerPage(), linesPerPage);
    QCOMPARE(TextWindowParts(window).bar->maximum(),
             linesBefore + LinesPerPageAt(9) - linesPerPage);
}

void SideWindowsTest::copiesTextUnchanged() {
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    window.Load(Archive::Open(), "Polski.txt");
    QCOMPARE(window.ShownText(), kPolishText.join(QLatin1Char('\n')));
    QGuiApplication::clipboard()->clear();
    QVERIFY(Click(&window, "LCopyTekst"));
    QCOMPARE(QGuiApplication::clipboard()->text(), kPolishText.join(QLatin1Char('\n')));
    QCOMPARE(window.ShownText(), kPolishText.join(QLatin1Char('\n')));
}

void SideWindowsTest::emptyAndCloseThroughTheSessionInterface() {
    ShownWindows windows;
    QuestionSideView& text = windows.text;
    text.Load(Archive::Open(), "Krotki.txt");
    QCOMPARE(windows.text.LoadedName(), QStringLiteral("Krotki.txt"));
    QVERIFY(Click(&windows.text, "LZwinOkno"));
    QCOMPARE(windows.text.size(), QSize(465, 26));
    QCOMPARE(windows.text.LoadedName(), QStringLiteral("Krotki.txt"));
    QVERIFY(Click(&windows.text, "LRozwinOkno"));
    QCOMPARE(windows.text.size(), QSize(465, 250));
    QCOMPARE(windows.text.ShownText(), NumberedLines(3).join(QLatin1Char('\n')));

    text.Empty();
    QCOMPARE(windows.text.size(), QSize(465, 26));
    QVERIFY(windows.text.LoadedName().isEmpty());
    QVERIFY(!windows.text.MarksActive());
    QVERIFY(Click(&windows.text, "LRozwinOkno"));
    QVERIFY(!windows.text.BodyShown());

    QuestionSideView& picture = windows.picture;
    picture.Load(Archive::Open(), PictureName({100, 50}).toStdString());
    QCOMPARE(windows.picture.PictureState(), PictureState::Normal);
    text.Close();
    picture.Close();
    QVERIFY(!windows.text.isVisible() && !windows.picture.isVisible());
}

void SideWindowsTest::titleStripDragsAndKeepsWindowReachable() {
    ShownWindows windows;
    QuestionTextWindow& window = windows.text;
    const QPoint start = window.pos();
    Drag(&window, "LListwaNaListwie", QPoint(30, 40));
    QCOMPARE(window.pos(), start + QPoint(30, 40));

    const QRect screen = window.screen()->availableGeometry();
    Drag(&window, "LListwaNaListwie", QPoint(-3000, -3000));
    QVERIFY(window.pos().x() + 465 - 40 >= screen.left() + 40);
    QCOMPARE(window.pos().y(), screen.top());
    Drag(&window, "LListwaNaListwie", QPoint(5000, 5000));
    QVERIFY(window.pos().x() + 85 <= screen.right() - 40);
    QVERIFY(window.pos().y() + 26 <= screen.bottom() + 1);

    window.Load(Archive::Open(), "Krotki.txt");
    const QPoint before = window.pos();
    Drag(&window, "LListwaTop", QPoint(-20, -10));
    QCOMPARE(window.pos(), before + QPoint(-20, -10));
}

void SideWindowsTest::dotFrameDrawsRingAndErasesIt_data() {
    QTest::addColumn<QRect>("corners");  // left, top, right, bottom as given to the frame
    QTest::addColumn<int>("width");
    QTest::addColumn<QRect>("drawn");
    QTest::newRow("in order") << QRect(QPoint(10, 20), QPoint(110, 70)) << 3
                              << QRect(10, 20, 100, 50);
    QTest::newRow("corners swapped")
        << QRect(QPoint(110, 70), QPoint(10, 20)) << 3 << QRect(10, 20, 100, 50);
    QTest::newRow("right left of left")
        << QRect(QPoint(110, 20), QPoint(10, 70)) << 5 << QRect(10, 20, 100, 50);
    QTest::newRow("a single point") << QRect(QPoint(40, 40), QPoint(40, 40)) << 3 << QRect();
}

void SideWindowsTest::dotFrameDrawsRingAndErasesIt() {
    QFETCH(QRect, corners);
    QFETCH(int, width);
    QFETCH(QRect, drawn);
    DotFrame frame;
    QCOMPARE(frame.frameRect(), (DotRectangle{0, 0, 150, 100}));
    QCOMPARE(frame.width(), 3);
    frame.setLeft(corners.left());
    frame.setTop(corners.top());
    frame.setRight(corners.right());
    frame.setBottom(corners.bottom());
    frame.setWidth(width);
    QVERIFY(frame.drawnRegion().isEmpty());
    frame.setVisible(true);
    const QRegion ring = frame.drawnRegion();
    QCOMPARE(ring.boundingRect(), drawn);
    if (!drawn.isEmpty()) {
        QVERIFY(ring.contains(drawn.topLeft() + QPoint(width - 1, width - 1)));
        QVERIFY(!ring.contains(drawn.topLeft() + QPoint(width, width)));
        QVERIFY(ring.contains(drawn.bottomRight()));
        QVERIFY(!ring.contains(drawn.center()));
    }
    frame.setVisible(false);
    QVERIFY(frame.drawnRegion().isEmpty());
}

void SideWindowsTest::dotFrameTracksCursorAndErasesWhenDestroyed() {
    const QList<QWidget*> before = VisibleTopLevels();
    {
        DotFrame frame;
        frame.TrackCursor({300, 300});
        QCOMPARE(frame.frameRect(), (DotRectangle{0, 0, 150, 100}));
        frame.BeginTracking({50, 60});
        QCOMPARE(frame.frameRect(), (DotRectangle{50, 60, 50, 60}));
        QVERIFY(frame.isVisible() && frame.drawnRegion().isEmpty());
        frame.TrackCursor({20, 260});
        QCOMPARE(frame.drawnRegion().boundingRect(), QRect(20, 60, 30, 200));
        frame.setWidth(1);
        QVERIFY(frame.drawnRegion().contains(QPoint(20, 60)));
        QVERIFY(!frame.drawnRegion().contains(QPoint(21, 61)));
        frame.EndTracking();
        QVERIFY(!frame.isVisible() && frame.drawnRegion().isEmpty());
        QCOMPARE(VisibleTopLevels(), before);
        frame.TrackCursor({400, 400});
        QCOMPARE(frame.frameRect().right, 20);

        frame.setVisible(true);
        QCOMPARE(VisibleTopLevels().size(), before.size() + 1);
    }
    QCOMPARE(VisibleTopLevels(), before);
}

void SideWindowsTest::sessionDrivesBothWindows() {
    SessionHarness harness;
    QVERIFY(harness.Start());
    QTRY_VERIFY(harness.textWindow.isVisible() && harness.pictureWindow.isVisible());
    QCOMPARE(harness.textWindow.LoadedName(), QStringLiteral("Dlugi.txt"));
    QCOMPARE(harness.pictureWindow.LoadedName(), PictureName({800, 300}));
    QCOMPARE(harness.pictureWindow.Picture().size(), QSize(800, 300));
    QVERIFY(Click(&harness.pictureWindow, "ImPowieksz"));

    harness.session.SelectQuestion(2);
    QCOMPARE(harness.pictureWindow.PictureState(), PictureState::Empty);
    QCOMPARE(harness.textWindow.size(), QSize(465, 26));
    QVERIFY(!harness.textWindow.MarksActive());

    harness.session.SelectQuestion(3);
    QCOMPARE(harness.pictureWindow.PictureState(), PictureState::Normal);
    QVERIFY(harness.session.LeaveTest());
    QVERIFY(!harness.textWindow.isVisible() && !harness.pictureWindow.isVisible());
}

// A test that ends before the event loop runs again must not leave its windows appearing later.
void SideWindowsTest::closingBeforeTheShowingKeepsWindowsHidden() {
    QuestionTextWindow text;
    QuestionPictureWindow picture;
    text.ShowEmpty();
    picture.ShowEmpty();
    text.Close();
    picture.Close();
    QCoreApplication::processEvents();
    QVERIFY(!text.isVisible() && !picture.isVisible());

    text.ShowEmpty();
    QTRY_VERIFY(text.isVisible());
}

QTEST_MAIN(SideWindowsTest)
#include "side_windows_test.moc"
