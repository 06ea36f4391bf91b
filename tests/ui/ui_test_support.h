#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "fakes.h"
#include "formats/TestDocument.h"
#include "formats/TestFileWriter.h"
#include "storage/Random.h"
#include "testing/TestSession.h"
#include "ui/main/QtMinuteTimer.h"
#include "ui/main/TestPanel.h"

namespace oplix::ui_testing {

using testing_fakes::FakeLegend;
using testing_fakes::FakeSideWindow;
using testing_fakes::FakeSounds;
using testing_fakes::FakeSummary;
using testing_fakes::FixedClock;
using testing_fakes::RecordingMessageBox;

// The texts of the boxes shown, in order.
inline QStringList BoxTexts(const RecordingMessageBox& messages) {
    QStringList texts;
    for (const testing_fakes::ShownMessage& shown : messages.shown) {
        texts << QString::fromStdString(shown.text);
    }
    return texts;
}

// Draws 0, 1, 2, ... modulo each range, so that the answers' on-screen orders differ from
// question to question and from the file order, the same in every run.
class CyclingRandom : public RandomSource {
public:
    std::uint32_t Below(std::uint32_t n) override { return n == 0 ? 0 : next_++ % n; }

private:
    std::uint32_t next_ = 0;
};

inline Settings TestSettings() {
    Settings settings;
    settings.sk = {95, 85, 75, 50, 30};
    return settings;
}

// Locations inside one scratch folder; documents go to its "Dokumenty" folder.
inline Locations ScratchLocations(const QTemporaryDir& folder) {
    const std::string root = folder.path().toStdString();
    QDir(folder.path()).mkpath(QStringLiteral("Temp"));
    QDir(folder.path()).mkpath(QStringLiteral("Dokumenty"));
    Locations locations;
    locations.dataFolder = root;
    locations.tempFolder = root + "/Temp";
    locations.settingsFile = root + "/Test.ini";
    locations.journalFile = root + "/Dziennik.txt";
    locations.interruptedWorkFile = root + "/Przerwany.dat";
    locations.documentsFolder = root + "/Dokumenty";
    return locations;
}

// A one-answer test of `questions` questions with `answers` answers each; answer 1 of every
// question is the correct one, and each text names its question and answer.
// One pupil's test session over a real panel. The text and picture windows are of the test's
// choosing; the legend, summary and sounds only record or stay silent.
template <typename TextWindow = FakeSideWindow, typename PictureWindow = TextWindow>
struct SessionRig {
    SessionRig() { panel.ConnectSession(session); }

    QTemporaryDir folder;
    FixedClock clock;
    Journal journal{clock};
    RecordingMessageBox messages;
    CyclingRandom random;
    Settings settings = TestSettings();
    Locations locations = ScratchLocations(folder);
    ui::TestPanel panel;
    TextWindow textWindow;
    PictureWindow pictureWindow;
    FakeLegend legend;
    FakeSummary summary;
    FakeSounds sounds;
    ui::QtMinuteTimer timer;
    TestSession session{
        SessionServices{journal, messages, clock, random, settings, locations},
        SessionWindows{panel, textWindow, pictureWindow, legend, summary, sounds, timer}};
};

inline TestDocument SmallTest(int questions, int answers, int type = 0) {
    TestDocument test;
    test.answerCount = answers;
    test.testType = type;
    test.questionCount = questions;
    test.testName = "Próbny test";
    test.author = "Zofia Nowak";
    test.gradingSource = GradingSource::Settings;
    for (int n = 1; n <= questions; ++n) {
        Question& question = test.At(n);
        question.text = "Pytanie numer " + std::to_string(n);
        question.correctFlags = std::string(static_cast<std::size_t>(answers), '0');
        question.correctFlags[0] = '1';
        for (int k = 1; k <= answers; ++k) {
            Answer& answer = question.answers[static_cast<std::size_t>(k - 1)];
            answer.text = "Odpowiedź " + std::to_string(k) + " na pytanie " + std::to_string(n);
            answer.isCorrect = k == 1;
        }
    }
    return test;
}

// Writes the test as a version-40 file into the folder; empty when it could not be written.
inline std::string WriteTestFile(const QTemporaryDir& folder, const TestDocument& test,
                                 const std::string& name = "test.skt") {
    const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
    return WriteTest40(path, test, Test40Options{}) ? path : std::string();
}

// Runs `check` from inside the next modal loop (or the next round of the event loop).
inline void WhenModalRuns(std::function<void()> check) {
    QTimer::singleShot(0, qApp, std::move(check));
}

// The modal window now running its own loop, as the given type.
template <typename Window>
Window* ActiveModal() {
    return qobject_cast<Window*>(QApplication::activeModalWidget());
}

}  // namespace oplix::ui_testing
