#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/Settings.h"
#include "fakes.h"
#include "formats/StudentsList.h"
#include "formats/TestDocument.h"
#include "formats/TestFileWriter.h"
#include "journal_lines.h"
#include "test_files.h"
#include "testing/TestSession.h"

namespace oplix::testing_session {

using testing_fakes::FakeSideWindow;

// The program's settings as a fresh Test.ini has them.
inline Settings ProgramDefaults() {
    Settings settings;
    settings.al = true;
    settings.opl = true;
    settings.chl = true;
    settings.wz = true;
    settings.sk = {95, 85, 75, 50, 30};
    settings.dfpz = 3;
    settings.trc = 1;
    return settings;
}

// A one-answer test of `questions` questions with `answers` answers each; answer k of question
// q is "Q<q>A<k>", and answer (q mod answers) + 1 is the correct one.
inline TestDocument OneAnswerTest(int questions, int answers, int timeLimit = 0) {
    TestDocument test;
    test.answerCount = answers;
    test.questionCount = questions;
    test.timeLimit = timeLimit;
    test.testName = "Ptaki Polski";
    test.author = "Łucja Gęślą";
    for (int q = 1; q <= questions; ++q) {
        Question& question = test.At(q);
        question.text = "Pytanie " + std::to_string(q);
        question.correctFlags = std::string(static_cast<std::size_t>(answers), '0');
        const int correct = q % answers;
        question.correctFlags[static_cast<std::size_t>(correct)] = '1';
        for (int k = 0; k < answers; ++k) {
            Answer& answer = question.answers[static_cast<std::size_t>(k)];
            answer.text = "Q" + std::to_string(q) + "A" + std::to_string(k + 1);
            answer.isCorrect = k == correct;
        }
    }
    return test;
}

// A test running on fakes in a scratch folder: the journal at its most detailed level, a temp
// folder, a documents folder, answers drawn in the last order of each table.
class SessionHarness {
public:
    SessionHarness() {
        journal.SetFile(folder.File("Dziennik.txt"));
        journal.SetLevel(3);
        locations.tempFolder = folder.File("temp");
        locations.documentsFolder = folder.File("dokumenty");
        std::filesystem::create_directory(locations.tempFolder);
        std::filesystem::create_directory(locations.documentsFolder);
    }

    std::string WriteTest(const TestDocument& test, const std::string& name = "test.skt",
                          std::span<const TestMember> members = {}) {
        const std::string path = folder.File(name);
        EXPECT_TRUE(WriteTest40(path, test, {}, members).ok()) << path;
        return path;
    }

    bool StartAnonymously(const std::string& path) {
        CurrentChoice choice;
        choice.testPath = path;
        choice.mode = StartMode::TestFileAnonymously;
        return session.StartTest(choice);
    }

    // File position k (from 1) of the current question, by its slot.
    void MarkAnswerAt(int k) {
        const Question& question = session.Document().At(session.CurrentQuestion());
        session.MarkAnswer(question.answers[static_cast<std::size_t>(k - 1)].displaySlot);
    }

    std::vector<std::string> Journalled() const {
        return testing_files::JournalMessages(folder.File("Dziennik.txt"));
    }

    testing_files::ScratchFolder folder;
    testing_fakes::FixedClock clock;
    Journal journal{clock};
    testing_fakes::RecordingMessageBox messages;
    testing_fakes::LastDrawRandom random;
    Settings settings = ProgramDefaults();
    Locations locations;
    testing_fakes::FakeTestPanel panel;
    FakeSideWindow textWindow;
    FakeSideWindow pictureWindow;
    testing_fakes::FakeLegend legend;
    testing_fakes::FakeSummary summary;
    testing_fakes::FakeSounds sounds;
    testing_fakes::FakeMinuteTimer timer;
    TestSession session{{journal, messages, clock, random, settings, locations},
                        {panel, textWindow, pictureWindow, legend, summary, sounds, timer}};
};

}  // namespace oplix::testing_session
