#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/Settings.h"
#include "fakes.h"
#include "formats/StudentsList.h"
#include "formats/TestDocument.h"
#include "formats/TestFileReader.h"
#include "journal_lines.h"
#include "storage/Cp1250.h"
#include "storage/Random.h"
#include "storage/VfsPAK.h"
#include "test_files.h"

namespace oplix::testing_testfile {

using testing_files::JournalMessages;

// Hands out scripted draws, then 0; remembers every range it was asked for.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<std::uint32_t> draws = {}) : draws_(std::move(draws)) {}
    std::uint32_t Below(std::uint32_t n) override {
        ranges.push_back(n);
        std::uint32_t draw = 0;
        if (!draws_.empty()) {
            draw = draws_.front();
            draws_.pop_front();
        }
        EXPECT_LT(draw, n) << "scripted draw out of range";
        return draw < n ? draw : 0;
    }

    std::vector<std::uint32_t> ranges;

private:
    std::deque<std::uint32_t> draws_;
};

inline Settings DefaultSettings() {
    Settings settings;
    settings.sk = {91, 75, 60, 45, 30};
    return settings;
}

// Everything a read needs, with the journal in a scratch folder at the most detailed level.
class ReadHarness {
public:
    ReadHarness() {
        journal.SetFile(JournalPath());
        journal.SetLevel(3);
    }

    TestReadOutcome Read(const std::string& path, StartMode mode = StartMode::TestFileAnonymously,
                         const StudentsList* students = nullptr, int classIndex = -1) {
        const TestReadContext context{.journal = journal,
                                      .messages = messages,
                                      .settings = settings,
                                      .random = random,
                                      .mode = mode,
                                      .students = students,
                                      .classIndex = classIndex};
        return ReadTest(path, document, archive, context);
    }

    std::vector<std::string> Journalled() const { return JournalMessages(JournalPath()); }
    std::string File(const std::string& name) const { return folder.File(name); }
    std::string JournalPath() const { return folder.File("Dziennik.txt"); }

    testing_files::ScratchFolder folder;
    testing_fakes::FixedClock clock;
    Journal journal{clock};
    testing_fakes::RecordingMessageBox messages;
    Settings settings = DefaultSettings();
    ScriptedRandom random;
    TVfsPAK archive;
    TestDocument document;
};

inline constexpr std::string_view kDamagedFileBox =
    "Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony.";

// A small test with Polish text in every field: four answers, own thresholds, a time limit.
inline TestDocument SampleTest() {
    TestDocument test;
    test.answerCount = 4;
    test.testType = 1;
    test.questionCount = 3;
    test.timeLimit = 25;
    test.testName = "Żółwie i źrebięta — przyroda";
    test.author = "Łucja Gęślą";
    test.date = "12.03.2024";
    test.remarks = "Uwagi: ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ";
    test.gradingSource = GradingSource::Test;
    test.thresholds = {95, 80, 65, 50, 35};
    const char* texts[] = {"Ile nóg ma pająk?", "Który ptak nie lata?", "Gdzie żyje łoś?"};
    for (int n = 1; n <= test.questionCount; ++n) {
        Question& question = test.At(n);
        question.text = texts[n - 1];
        for (int k = 1; k <= 4; ++k) {
            question.answers[static_cast<std::size_t>(k - 1)].text =
                "Odpowiedź " + std::to_string(k) + " pytania " + std::to_string(n) + " – źdźbło";
        }
        question.correctFlags = n == 1 ? "0010" : (n == 2 ? "1001" : "0100");
        for (int k = 1; k <= 4; ++k) {
            question.answers[static_cast<std::size_t>(k - 1)].isCorrect =
                question.correctFlags[static_cast<std::size_t>(k - 1)] == '1';
        }
    }
    test.At(1).pictureMember = "PAJAK.JPG";
    test.At(2).textMember = "STRUS.TXT";
    test.At(2).hint = "Pomyśl o Afryce.";
    return test;
}

// Compares everything a read fills in except the drawn order.
inline void ExpectSameTest(const TestDocument& expected, const TestDocument& actual) {
    EXPECT_EQ(expected.answerCount, actual.answerCount);
    EXPECT_EQ(expected.testType, actual.testType);
    EXPECT_EQ(expected.questionCount, actual.questionCount);
    EXPECT_EQ(expected.timeLimit, actual.timeLimit);
    EXPECT_EQ(expected.testName, actual.testName);
    EXPECT_EQ(expected.author, actual.author);
    EXPECT_EQ(expected.date, actual.date);
    EXPECT_EQ(expected.remarks, actual.remarks);
    EXPECT_EQ(expected.gradingSource, actual.gradingSource);
    EXPECT_EQ(expected.thresholds, actual.thresholds);
    for (int n = 1; n <= kMaxQuestions; ++n) {
        SCOPED_TRACE("question " + std::to_string(n));
        const Question& want = expected.At(n);
        const Question& got = actual.At(n);
        EXPECT_EQ(want.text, got.text);
        EXPECT_EQ(want.correctFlags, got.correctFlags);
        EXPECT_EQ(want.textMember, got.textMember);
        EXPECT_EQ(want.pictureMember, got.pictureMember);
        EXPECT_EQ(want.hint, got.hint);
        for (std::size_t k = 0; k < want.answers.size(); ++k) {
            EXPECT_EQ(want.answers[k].text, got.answers[k].text) << "answer " << k + 1;
            EXPECT_EQ(want.answers[k].isCorrect, got.answers[k].isCorrect) << "answer " << k + 1;
            EXPECT_FALSE(got.answers[k].isChosen) << "answer " << k + 1;
        }
    }
}

}  // namespace oplix::testing_testfile
