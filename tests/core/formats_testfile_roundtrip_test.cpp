#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formats/AnswerShuffling.h"
#include "formats/TestFileReader.h"
#include "formats/TestFileWriter.h"
#include "formats_testfile_support.h"
#include "storage/UPak.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

using testing_testfile::ExpectSameTest;
using testing_testfile::ReadHarness;
using testing_testfile::SampleTest;

enum class Version { V35, V40 };

struct RoundTripCase {
    const char* name;
    Version version;
    Test40Options options;
};

const RoundTripCase kRoundTrips[] = {
    {"v40 plain", Version::V40, {.encoded = false, .utf16 = false}},
    {"v40 encoded", Version::V40, {.encoded = true, .utf16 = false}},
    {"v40 UTF-16 plain", Version::V40, {.encoded = false, .utf16 = true}},
    {"v40 UTF-16 encoded", Version::V40, {.encoded = true, .utf16 = true}},
    {"v35", Version::V35, {}},
};

const std::vector<TestMember> kExtraMembers = {
    {"PAJAK.JPG", {0xFF, 0xD8, 0xFF, 0xD9}},
    {"STRUS.TXT", {'S', 't', 'r', 'u', 0xB6}},  // "Struś" in Windows-1250
};

// What a version-35 file can hold of the sample: no fifth answer, time limit, date, remarks or
// thresholds of its own.
TestDocument As35(TestDocument test, const Settings& settings) {
    test.timeLimit = 0;
    test.date.clear();
    test.remarks.clear();
    test.gradingSource = GradingSource::Settings;
    test.thresholds = settings.sk;
    for (Question& question : test.questions) {
        question.answers[4] = Answer{};
    }
    return test;
}

Status Write(const RoundTripCase& test, const std::string& path, const TestDocument& document) {
    return test.version == Version::V35 ? WriteTest35(path, document, kExtraMembers)
                                        : WriteTest40(path, document, test.options, kExtraMembers);
}

void ExpectShuffledOnce(const TestDocument& document) {
    for (int n = 1; n <= document.questionCount; ++n) {
        const Question& question = document.At(n);
        EXPECT_EQ(question.permutation.size(), static_cast<std::size_t>(document.answerCount));
        std::set<int> slots;
        for (int k = 1; k <= document.answerCount; ++k) {
            slots.insert(question.answers[static_cast<std::size_t>(k - 1)].displaySlot);
        }
        EXPECT_EQ(slots.size(), static_cast<std::size_t>(document.answerCount));
        EXPECT_EQ(*slots.begin(), 1);
        EXPECT_EQ(*slots.rbegin(), document.answerCount);
        for (int k = document.answerCount + 1; k <= kMaxAnswers; ++k) {
            EXPECT_EQ(question.answers[static_cast<std::size_t>(k - 1)].displaySlot, -1);
        }
    }
}

TEST(TestFileRoundTrip, EveryVersionReadsBackTheWrittenTest) {
    for (const RoundTripCase& test : kRoundTrips) {
        SCOPED_TRACE(test.name);
        ReadHarness reader;
        TestDocument written = SampleTest();
        if (test.version == Version::V40) {
            written.At(3).answers[4].text = "Piąta odpowiedź, której nikt nie widzi";
        }
        ASSERT_TRUE(Write(test, reader.File("test.skt"), written).ok());

        ASSERT_EQ(reader.Read(reader.File("test.skt")), TestReadOutcome::Loaded);
        const TestDocument expected =
            test.version == Version::V35 ? As35(written, reader.settings) : written;
        ExpectSameTest(expected, reader.document);
        ExpectShuffledOnce(reader.document);
        EXPECT_EQ(reader.random.ranges, std::vector<std::uint32_t>(3, 28));
        EXPECT_TRUE(reader.Journalled().empty());
        EXPECT_TRUE(reader.messages.shown.empty());
        // The archive stays open for the questions' pictures and texts.
        Result<std::optional<Bytes>> text = GetMember("strus.txt", reader.archive);
        ASSERT_TRUE(text.ok() && text->has_value());
        EXPECT_EQ(**text, kExtraMembers[1].bytes);
    }
}

TEST(TestFileRoundTrip, EmptyAndLongestTestsReadBack) {
    for (int questionCount : {0, 45}) {
        for (const RoundTripCase& test : kRoundTrips) {
            SCOPED_TRACE(std::string(test.name) + ", " + std::to_string(questionCount));
            ReadHarness reader;
            TestDocument written;
            written.answerCount = 5;
            written.questionCount = questionCount;
            written.gradingSource = GradingSource::Settings;
            written.thresholds = reader.settings.sk;
            for (int n = 1; n <= questionCount; ++n) {
                written.At(n).text = "Pytanie " + std::to_string(n);
                written.At(n).correctFlags = "00001";
                written.At(n).answers[4].isCorrect = true;
                for (int k = 0; k < 4; ++k) {
                    written.At(n).answers[static_cast<std::size_t>(k)].text = std::to_string(k);
                }
            }
            ASSERT_TRUE(Write(test, reader.File("test.skt"), written).ok());
            ASSERT_EQ(reader.Read(reader.File("test.skt")), TestReadOutcome::Loaded);
            ExpectSameTest(written, reader.document);
            ExpectShuffledOnce(reader.document);
        }
    }
}

TEST(TestFileRoundTrip, ReadingDrawsOneOrderPerQuestionInFileOrder) {
    ReadHarness reader;
    TestDocument written = SampleTest();
    written.answerCount = 3;
    ASSERT_TRUE(WriteTest40(reader.File("test.skt"), written, {}).ok());
    reader.random = testing_testfile::ScriptedRandom({0, 3, 5});
    ASSERT_EQ(reader.Read(reader.File("test.skt")), TestReadOutcome::Loaded);
    EXPECT_EQ(reader.document.At(1).permutation, "123");
    EXPECT_EQ(reader.document.At(2).permutation, "231");
    EXPECT_EQ(reader.document.At(3).permutation, "312");
    EXPECT_EQ(AnswerAtSlot(reader.document.At(3), 3, 1), 2);
    EXPECT_EQ(reader.random.ranges, std::vector<std::uint32_t>(3, 6));
}

std::vector<std::u16string> ChildNames(const TpkXMLNode& node) {
    std::vector<std::u16string> names;
    for (int i = 0; i < node.ChildCount(); ++i) {
        names.emplace_back(node.Child(i)->Name);
    }
    return names;
}

TEST(TestFileWriter, WritesTheElementsInTheEditorsOrder) {
    TpkXML xml;
    ASSERT_TRUE(BuildTest40Description(SampleTest(), {}, xml).ok());
    // Written and loaded again, so only the elements that reach the file are seen.
    TpkXML loaded;
    loaded.LoadFromBytes(xml.SaveToBytes());
    TpkXMLNode* root = loaded.FindTopNode(u"tst", false);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(*root),
              (std::vector<std::u16string>{u"cd", u"ilp", u"ilo", u"typ", u"nmt", u"name", u"tim",
                                           u"skl", u"pyt1", u"pyt2", u"pyt3", u"dtu", u"uwg"}));
    EXPECT_EQ(ChildNames(*root->FindChild(u"skl", false)),
              (std::vector<std::u16string>{u"tk", u"cel", u"bdb", u"db", u"dst", u"dp"}));
    EXPECT_EQ(ChildNames(*root->FindChild(u"pyt2", false)),
              (std::vector<std::u16string>{u"tr", u"od1", u"od2", u"od3", u"od4", u"odp", u"plr",
                                           u"kom"}));
}

std::string MemberText(const std::string& path, std::string_view member) {
    TVfsPAK archive;
    EXPECT_TRUE(OpenArchiveForReading(path, archive));
    Result<std::optional<Bytes>> bytes = GetMember(member, archive);
    EXPECT_TRUE(bytes.ok() && bytes->has_value());
    return bytes.ok() && bytes->has_value() ? std::string((*bytes)->begin(), (*bytes)->end())
                                            : std::string();
}

TEST(TestFileWriter, EncodedTestKeepsOnlyItsMarkPlain) {
    testing_files::ScratchFolder folder;
    TestDocument test = SampleTest();
    test.testName = "Przyroda";
    ASSERT_TRUE(WriteTest40(folder.File("encoded.skt"), test, {.encoded = true}).ok());
    ASSERT_TRUE(WriteTest40(folder.File("plain.skt"), test, {.encoded = false}).ok());
    const std::string encoded = MemberText(folder.File("encoded.skt"), kTest40Member);
    const std::string plain = MemberText(folder.File("plain.skt"), kTest40Member);

    EXPECT_NE(encoded.find("<cd>tr</cd>"), std::string::npos) << encoded;
    EXPECT_NE(plain.find("<cd>fa</cd>"), std::string::npos) << plain;
    // "3" and "Przyroda" as base64 of their UTF-16 little-endian text.
    EXPECT_NE(encoded.find("<ilp>MwA=</ilp>"), std::string::npos) << encoded;
    EXPECT_NE(encoded.find("<nmt>UAByAHoAeQByAG8AZABhAA==</nmt>"), std::string::npos) << encoded;
    EXPECT_EQ(encoded.find("Przyroda"), std::string::npos);
    EXPECT_NE(plain.find("<ilp>3</ilp>"), std::string::npos) << plain;
    EXPECT_NE(plain.find("<nmt>Przyroda</nmt>"), std::string::npos) << plain;
}

TEST(TestFileWriter, UnicodeTestStartsWithItsByteOrderMark) {
    testing_files::ScratchFolder folder;
    ASSERT_TRUE(WriteTest40(folder.File("t.skt"), SampleTest(), {.utf16 = true}).ok());
    const std::string text = MemberText(folder.File("t.skt"), kTest40Member);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(0, 4), std::string("\xFF\xFE<\0", 4));
}

TEST(TestFileWriter, RefusesWhatWouldNotReadBack) {
    testing_files::ScratchFolder folder;
    TestDocument tooLong = SampleTest();
    tooLong.questionCount = 46;
    EXPECT_FALSE(WriteTest40(folder.File("a.skt"), tooLong, {}).ok());
    EXPECT_FALSE(WriteTest35(folder.File("b.skt"), tooLong).ok());

    TestDocument lineBreak = SampleTest();
    lineBreak.At(2).hint = "dwie\r\nlinie";
    EXPECT_FALSE(WriteTest35(folder.File("c.skt"), lineBreak).ok());
    TestDocument huge = SampleTest();
    huge.author = std::string(501, 'x');
    EXPECT_FALSE(WriteTest35(folder.File("d.skt"), huge).ok());
}

}  // namespace
}  // namespace oplix
