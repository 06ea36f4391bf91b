#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "app/Journal.h"
#include "fakes.h"
#include "formats/ResultFile.h"
#include "formats/TestDocument.h"
#include "formats/TestFileWriter.h"
#include "storage/Bytes.h"
#include "storage/EncodedFields.h"
#include "storage/pkXML.h"
#include "test_files.h"
#include "tool_runner.h"

// Fixtures for the document commands of oplix-tool, all made by the program's own writers.
namespace oplix::tool_testing {

// The tool's standard output as JSON; a null value (and a failure) when it is not JSON.
inline nlohmann::json OutputJson(const testing_files::ToolRun& run) {
    const std::string text(run.out.begin(), run.out.end());
    nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << "not JSON: " << text << "\n" << run.err;
    return parsed.is_discarded() ? nlohmann::json() : parsed;
}

inline Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A plain version-40 description of `test` that claims `questionCount` questions, for tests
// the writer would not make.
inline Bytes DescriptionClaimingQuestions(const TestDocument& test, int questionCount) {
    TpkXML xml;
    EXPECT_TRUE(BuildTest40Description(test, {}, xml).ok());
    int code = kFieldOk;
    WriteIntField(kFieldPlain, "tst", "ilp", "", "", xml, questionCount, code);
    const std::string last = "pyt" + std::to_string(questionCount);
    WriteTextField(kFieldPlain, "tst", last, "tr", "", xml, "Pytanie", code);
    WriteTextField(kFieldPlain, "tst", last, "odp", "", xml, "100", code);
    EXPECT_EQ(code, kFieldOk);
    return xml.SaveToBytes();
}

// A test of `count` one-answer questions of three answers, the first one correct.
inline TestDocument TestOfQuestions(int count) {
    TestDocument test;
    test.questionCount = count;
    test.testName = "Pytania";
    for (int n = 1; n <= count && n <= kMaxQuestions; ++n) {
        Question& question = test.At(n);
        question.text = "Pytanie " + std::to_string(n);
        for (std::size_t k = 0; k < 3; ++k) {
            question.answers[k].text = "Odpowiedź " + std::to_string(k + 1);
        }
        question.correctFlags = "100";
        question.answers[0].isCorrect = true;
    }
    return test;
}

// Writes a result as the program writes it, pupil and flags as given.
inline void WriteResultFile(const std::string& path, const std::string& surname,
                            const std::string& firstName,
                            const std::vector<ResultQuestion>& questions,
                            bool endedByTimeLimit = false) {
    ResultRecord record;
    record.buildIdentification = std::string(kBuildIdentification);
    record.testName = "Przyroda – ptaki";
    record.author = "Łucja Gęślą";
    record.testType = 1;
    record.answerCount = 5;
    record.startTime = "09:00:00";
    record.endTime = "09:20:00";
    record.saveTime = "09:20:01";
    record.thresholds = {95, 85, 75, 50, 30};
    record.surname = surname;
    record.firstName = firstName;
    record.endedByTimeLimit = endedByTimeLimit;
    record.questions = questions;
    testing_fakes::FixedClock clock;
    Journal journal(clock);
    testing_fakes::RecordingMessageBox box;
    ASSERT_EQ(WriteResult(path, record, "/nonexistent", journal, box).writtenPath, path);
    ASSERT_TRUE(box.shown.empty()) << box.shown[0].text;
}

}  // namespace oplix::tool_testing
