#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "formats/TestFileReader.h"
#include "formats/TestFileWriter.h"
#include "formats_testfile_support.h"
#include "storage/EncodedFields.h"
#include "storage/Scrambling.h"
#include "storage/TextLines.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

using testing_testfile::ExpectSameTest;
using testing_testfile::kDamagedFileBox;
using testing_testfile::ReadHarness;
using testing_testfile::SampleTest;

constexpr std::string_view kTooManyQuestionsBox =
    "Test zawiera zbyt dużo pytań.\rProgram obsługuje testy do 45 pytań.";

// The version-40 description of `test` as a tree that a fixture may damage before it is stored.
struct Description40 {
    explicit Description40(const TestDocument& test, Test40Options options = {}) {
        EXPECT_TRUE(BuildTest40Description(test, options, xml).ok());
        mode = options.encoded ? kFieldBase64 : kFieldPlain;
    }
    void SetText(std::string_view level2, std::string_view level3, std::string_view value) {
        int code = kFieldOk;
        WriteTextField(mode, "tst", level2, level3, "", xml, value, code);
        EXPECT_EQ(code, kFieldOk);
    }
    void SetInt(std::string_view level2, std::string_view level3, int value) {
        int code = kFieldOk;
        WriteIntField(mode, "tst", level2, level3, "", xml, value, code);
        EXPECT_EQ(code, kFieldOk);
    }
    // The element's stored text as it is, whatever the mode.
    void SetRaw(std::u16string_view level2, std::u16string_view level3, std::u16string value) {
        TpkXMLNode* node = xml.FindTopNode(u"tst", true)->FindChild(level2, true);
        if (!level3.empty()) {
            node = node->FindChild(level3, true);
        }
        node->Text = std::move(value);
    }
    Bytes Save() const { return xml.SaveToBytes(); }
    void Store(const std::string& path) const {
        const TestMember member{std::string(kTest40Member), Save()};
        ASSERT_TRUE(WriteTestArchive(path, {&member, 1}).ok());
    }

    TpkXML xml;
    int mode = kFieldPlain;
};

// The version-35 description of `test` as its lines, for fixtures to change.
struct Description35 {
    explicit Description35(const TestDocument& test) {
        Result<Bytes> bytes = BuildTest35Description(test);
        EXPECT_TRUE(bytes.ok());
        if (bytes.ok()) {
            lines = SplitTextLines(*bytes);
        }
    }
    void SetLine(std::size_t index, std::string_view value) {
        Result<std::string> scrambled = ScrambleTestText(value);
        ASSERT_TRUE(scrambled.ok());
        lines.at(index) = *scrambled;
    }
    Bytes Save() const {
        Bytes bytes;
        for (const std::string& line : lines) {
            bytes.insert(bytes.end(), line.begin(), line.end());
            bytes.push_back('\r');
            bytes.push_back('\n');
        }
        return bytes;
    }
    void Store(const std::string& path) const {
        const TestMember member{std::string(kTest35Member), Save()};
        ASSERT_TRUE(WriteTestArchive(path, {&member, 1}).ok());
    }

    std::vector<std::string> lines;
};

void ExpectNothingReported(const ReadHarness& reader) {
    EXPECT_TRUE(reader.Journalled().empty());
    EXPECT_TRUE(reader.messages.shown.empty());
}

void ExpectFailure(const ReadHarness& reader, const std::string& journalLine) {
    EXPECT_EQ(reader.Journalled(), std::vector<std::string>{journalLine});
    ASSERT_EQ(reader.messages.shown.size(), 1u);
    EXPECT_EQ(reader.messages.shown[0].kind, MessageKind::Close);
    EXPECT_EQ(reader.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(reader.messages.shown[0].text, kDamagedFileBox);
}

TEST(TestFileRead, EncodedTestAndItsPlainTwinsReadTheSame) {
    const TestDocument test = SampleTest();
    ReadHarness encoded;
    Description40(test, {.encoded = true}).Store(encoded.File("tr.skt"));
    ASSERT_EQ(encoded.Read(encoded.File("tr.skt")), TestReadOutcome::Loaded);
    ExpectSameTest(test, encoded.document);

    // Any mark but exactly "tr", or none at all, leaves every field plain.
    for (std::string_view mark : {"fa", "TR", "Tr", ""}) {
        SCOPED_TRACE(std::string("mark '") + std::string(mark) + "'");
        ReadHarness plain;
        Description40 description(test);
        description.SetText("cd", "", mark);
        description.Store(plain.File("fa.skt"));
        ASSERT_EQ(plain.Read(plain.File("fa.skt")), TestReadOutcome::Loaded);
        ExpectSameTest(encoded.document, plain.document);
        ExpectNothingReported(plain);
    }
}

TEST(TestFileRead, AbsentAnswerIsEmpty) {
    ReadHarness reader;
    TestDocument test = SampleTest();
    Description40 description(test);
    description.SetText("pyt3", "od4", "");  // an empty element is left out of the file
    description.Store(reader.File("t.skt"));
    const Bytes saved = description.Save();
    const std::string text(saved.begin(), saved.end());
    const std::size_t third = text.find("<pyt3>");
    ASSERT_NE(third, std::string::npos);
    ASSERT_EQ(text.find("<od4>", third), std::string::npos);
    ASSERT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Loaded);
    test.At(3).answers[3].text.clear();
    ExpectSameTest(test, reader.document);
    EXPECT_NE(reader.document.At(3).answers[3].displaySlot, -1);
}

TEST(TestFileRead, AnswerKeyMarksAnswersByPosition) {
    struct Case {
        int answerCount;
        std::string_view flags;
        std::array<bool, 5> correct;
    };
    const Case cases[] = {
        {5, "01000", {false, true, false, false, false}},
        {3, "10", {true, false, false, false, false}},
        {3, "0x1", {false, false, true, false, false}},
        {4, "1111", {true, true, true, true, false}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(std::string(item.flags));
        ReadHarness reader;
        TestDocument test = SampleTest();
        test.answerCount = item.answerCount;
        test.At(2).correctFlags = std::string(item.flags);
        Description40(test).Store(reader.File("t.skt"));
        ASSERT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Loaded);
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(reader.document.At(2).answers[k].isCorrect, item.correct[k]) << k + 1;
        }
    }
}

TEST(TestFileRead, EmptyAnswerKeyFailsItsQuestion) {
    ReadHarness reader;
    TestDocument test = SampleTest();
    test.At(3).correctFlags.clear();
    Description40(test, {.encoded = true}).Store(reader.File("t.skt"));
    EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Failed);
    ExpectFailure(reader, "Odczyt. Ver 40. Błąd dekodowania pytania nr. 3");
    // What was read before the failure stays.
    EXPECT_EQ(reader.document.At(2).text, test.At(2).text);
}

StudentsList ListWithClass(std::string classTime, int ownScale) {
    ClassRecord record;
    record.className = "3b";
    record.classTime = std::move(classTime);
    record.ownScale = ownScale;
    record.thresholds = {90, 70, 55, 40, 25};
    StudentsList list;
    list.classes.push_back(record);
    list.classCount = 1;
    return list;
}

TestDocument UntimedTestWithoutScale() {
    TestDocument test = SampleTest();
    test.timeLimit = 0;
    test.gradingSource = GradingSource::Settings;
    return test;
}

TEST(TestFileRead, NamedPupilsGetTheirClassTimeAndScale) {
    const StudentsList list = ListWithClass("20", 1);
    const TestDocument test = UntimedTestWithoutScale();
    struct Case {
        StartMode mode;
        int classIndex;
        int timeLimit;
        GradingSource source;
        std::array<int, 5> thresholds;
    };
    const std::array<int, 5> classScale = list.classes[0].thresholds;
    const std::array<int, 5> settingsScale = testing_testfile::DefaultSettings().sk;
    const Case cases[] = {
        {StartMode::PupilAndTestFromLists, 0, 20, GradingSource::Class, classScale},
        {StartMode::NamedPupilWithTestFile, 0, 20, GradingSource::Class, classScale},
        {StartMode::TestFromListAnonymously, 0, 0, GradingSource::Settings, settingsScale},
        {StartMode::TestFileAnonymously, 0, 0, GradingSource::Settings, settingsScale},
        {StartMode::PupilAndTestFromLists, 1, 0, GradingSource::Settings, settingsScale},
        {StartMode::PupilAndTestFromLists, -1, 0, GradingSource::Settings, settingsScale},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE("mode " + std::to_string(static_cast<int>(item.mode)) + ", class " +
                     std::to_string(item.classIndex));
        ReadHarness reader;
        Description40(test, {.encoded = true}).Store(reader.File("t.skt"));
        ASSERT_EQ(reader.Read(reader.File("t.skt"), item.mode, &list, item.classIndex),
                  TestReadOutcome::Loaded);
        EXPECT_EQ(reader.document.timeLimit, item.timeLimit);
        EXPECT_EQ(reader.document.gradingSource, item.source);
        EXPECT_EQ(reader.document.thresholds, item.thresholds);
    }
}

TEST(TestFileRead, TestsOwnTimeAndScaleComeBeforeTheClasses) {
    const StudentsList list = ListWithClass("20", 1);
    ReadHarness reader;
    const TestDocument test = SampleTest();  // 25 minutes and its own thresholds
    Description40(test).Store(reader.File("t.skt"));
    ASSERT_EQ(reader.Read(reader.File("t.skt"), StartMode::PupilAndTestFromLists, &list, 0),
              TestReadOutcome::Loaded);
    EXPECT_EQ(reader.document.timeLimit, 25);
    EXPECT_EQ(reader.document.gradingSource, GradingSource::Test);
    EXPECT_EQ(reader.document.thresholds, test.thresholds);

    // A class without its own scale leaves the settings' one, but still lends its time.
    const StudentsList plainClass = ListWithClass("15", 0);
    ReadHarness second;
    Description40(UntimedTestWithoutScale()).Store(second.File("t.skt"));
    ASSERT_EQ(second.Read(second.File("t.skt"), StartMode::NamedPupilWithTestFile, &plainClass, 0),
              TestReadOutcome::Loaded);
    EXPECT_EQ(second.document.timeLimit, 15);
    EXPECT_EQ(second.document.gradingSource, GradingSource::Settings);
    EXPECT_EQ(second.document.thresholds, second.settings.sk);
}

TEST(TestFileRead, ClassTimeThatIsNoNumberFailsOnlyWhenItIsUsed) {
    const StudentsList list = ListWithClass("20 min", 1);
    ReadHarness named;
    Description40(UntimedTestWithoutScale()).Store(named.File("t.skt"));
    EXPECT_EQ(named.Read(named.File("t.skt"), StartMode::PupilAndTestFromLists, &list, 0),
              TestReadOutcome::Failed);
    ExpectFailure(named, "Odczyt. Ver 40. Błąd dekodowania informacji o teście.");

    ReadHarness anonymous;
    Description40(UntimedTestWithoutScale()).Store(anonymous.File("t.skt"));
    EXPECT_EQ(anonymous.Read(anonymous.File("t.skt"), StartMode::TestFromListAnonymously, &list, 0),
              TestReadOutcome::Loaded);
    ExpectNothingReported(anonymous);
}

TestDocument TestOfQuestions(int count) {
    TestDocument test;
    test.answerCount = 3;
    test.questionCount = std::min(count, kMaxQuestions);
    for (int n = 1; n <= test.questionCount; ++n) {
        test.At(n).text = "Pytanie " + std::to_string(n);
        test.At(n).correctFlags = "100";
    }
    return test;
}

TEST(TestFileRead, FortyFiveQuestionsLoadAndFortySixAreRefused) {
    ReadHarness full;
    Description40(TestOfQuestions(45), {.encoded = true}).Store(full.File("t.skt"));
    EXPECT_EQ(full.Read(full.File("t.skt")), TestReadOutcome::Loaded);
    EXPECT_EQ(full.document.questionCount, 45);
    EXPECT_EQ(full.document.At(45).text, "Pytanie 45");
    ExpectNothingReported(full);

    for (bool v35 : {false, true}) {
        SCOPED_TRACE(v35 ? "v35" : "v40");
        ReadHarness reader;
        const TestDocument test = TestOfQuestions(45);
        if (v35) {
            Description35 description(test);
            description.SetLine(2, "46");
            description.Store(reader.File("t.skt"));
        } else {
            Description40 description(test, {.encoded = true});
            description.SetInt("ilp", "", 46);
            description.SetText("pyt46", "tr", "Pytanie 46");
            description.SetText("pyt46", "odp", "100");
            description.Store(reader.File("t.skt"));
        }
        EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Refused);
        EXPECT_EQ(reader.Journalled(), std::vector<std::string>{"Test zawiera zbyt dużo pytań."});
        ASSERT_EQ(reader.messages.shown.size(), 1u);
        EXPECT_EQ(reader.messages.shown[0].kind, MessageKind::Close);
        EXPECT_EQ(reader.messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(reader.messages.shown[0].text, kTooManyQuestionsBox);
    }
}

TEST(TestFileRead, Version35AfterATimedTestHasNoLimitAndNoFifthAnswer) {
    ReadHarness reader;
    ASSERT_TRUE(WriteTest40(reader.File("timed.skt"), SampleTest(), {}).ok());
    ASSERT_EQ(reader.Read(reader.File("timed.skt")), TestReadOutcome::Loaded);
    ASSERT_EQ(reader.document.timeLimit, 25);

    TestDocument old = SampleTest();
    old.At(1).answers[4].text = "nie zapisze się";
    ASSERT_TRUE(WriteTest35(reader.File("old.skt"), old).ok());
    ASSERT_EQ(reader.Read(reader.File("old.skt")), TestReadOutcome::Loaded);
    EXPECT_EQ(reader.document.timeLimit, 0);
    EXPECT_EQ(reader.document.answerCount, 4);
    EXPECT_EQ(reader.document.gradingSource, GradingSource::Settings);
    for (int n = 1; n <= reader.document.questionCount; ++n) {
        const Answer& fifth = reader.document.At(n).answers[4];
        EXPECT_TRUE(fifth.text.empty());
        EXPECT_EQ(fifth.displaySlot, -1);
        EXPECT_FALSE(reader.document.At(n).answers[3].text.empty());
    }
}

TEST(TestFileRead, BothDescriptionsPresentReadsVersion35) {
    ReadHarness reader;
    TestDocument old = SampleTest();
    old.testName = "Wersja 35";
    TestDocument current = SampleTest();
    current.testName = "Wersja 40";
    Result<Bytes> description35 = BuildTest35Description(old);
    ASSERT_TRUE(description35.ok());
    // The XML first, so the directory order does not decide.
    const std::vector<TestMember> members = {
        {"SERR0.XML", Description40(current).Save()},
        {"serr0.TXP", *description35},
    };
    ASSERT_TRUE(WriteTestArchive(reader.File("t.skt"), members).ok());
    ASSERT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Loaded);
    EXPECT_EQ(reader.document.testName, "Wersja 35");
}

TEST(TestFileRead, CutOffDocumentFailsAtTheFirstLostAnswerKey) {
    ReadHarness reader;
    const Bytes whole = Description40(SampleTest()).Save();
    const std::string text(whole.begin(), whole.end());
    const std::size_t second = text.find("<pyt2>");
    const std::size_t cut = text.find("<odp>", second);
    ASSERT_NE(cut, std::string::npos);
    const TestMember member{std::string(kTest40Member), Bytes(whole.begin(), whole.begin() + cut)};
    ASSERT_TRUE(WriteTestArchive(reader.File("t.skt"), {&member, 1}).ok());
    EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Failed);
    ExpectFailure(reader, "Odczyt. Ver 40. Błąd dekodowania pytania nr. 2");
}

TEST(TestFileRead, FileThatIsNoArchiveFailsAtTheVersion40Header) {
    ReadHarness reader;
    const std::string xml = "<tst><cd>fa</cd><ilp>1</ilp><ilo>3</ilo></tst>";
    testing_files::WriteFileBytes(reader.File("t.skt"), Bytes(xml.begin(), xml.end()));
    EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Failed);
    ExpectFailure(reader, "Odczyt. Ver 40. Błąd dekodowania informacji o teście.");
}

// One damaged file for every line the reader can fail with.
struct Damage {
    const char* name;
    std::function<void(const std::string& path)> make;
    std::string journalLine;
};

// A lone high surrogate, which no text can hold: as base64 of its UTF-16 little-endian bytes.
constexpr std::u16string_view kBrokenEncodedText = u"ANg=";

void StoreV40With(const std::string& path, std::u16string_view element, std::u16string_view child) {
    Description40 description(SampleTest(), {.encoded = true});
    description.SetRaw(element, child, std::u16string(kBrokenEncodedText));
    description.Store(path);
}

// The sample test with one header element's text put in plain.
std::function<void(const std::string& path)> StoreV40HeaderText(const char* element,
                                                                const char* text) {
    return [element, text](const std::string& path) {
        Description40 description(SampleTest());
        description.SetText(element, "", text);
        description.Store(path);
    };
}

void StoreV35Without(const std::string& path, std::size_t keptLines) {
    Description35 description(SampleTest());
    description.lines.resize(keptLines);
    description.Store(path);
}

// The archive's first directory entry, its size made to run past the end of the file.
void SpoilFirstMemberSize(const std::string& path) {
    Bytes bytes = testing_files::ReadFileBytes(path);
    std::uint32_t directory = 0;
    std::memcpy(&directory, bytes.data() + 4, 4);
    const std::uint32_t huge = 0x7FFFFFF0;
    std::memcpy(bytes.data() + directory + kPakNameField + 4, &huge, 4);
    testing_files::WriteFileBytes(path, bytes);
}

std::vector<Damage> DamagedFixtures() {
    return {
        {"directory past the end",
         [](const std::string& path) {
             testing_files::WriteFileBytes(path,
                                           Bytes{'P', 'A', 'C', 'K', 12, 0, 0, 0, 128, 0, 0, 0});
         },
         "Odczyt. Błąd wczytania spakowanej zawartości."},
        {"version-35 description unreadable",
         [](const std::string& path) {
             ASSERT_TRUE(WriteTest35(path, SampleTest()).ok());
             SpoilFirstMemberSize(path);
         },
         "Odczyt. Błąd wczytywania pliku Serr0."},
        {"no description",
         [](const std::string& path) {
             const TestMember picture{"PAJAK.JPG", {0xFF, 0xD8}};
             ASSERT_TRUE(WriteTestArchive(path, {&picture, 1}).ok());
         },
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
        {"undecodable test name", [](const std::string& path) { StoreV40With(path, u"nmt", u""); },
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
        {"undecodable question text",
         [](const std::string& path) { StoreV40With(path, u"pyt2", u"tr"); },
         "Odczyt. Ver 40. Błąd dekodowania pytania nr. 2"},
        {"undecodable remarks", [](const std::string& path) { StoreV40With(path, u"uwg", u""); },
         "Odczyt. Ver 40. Błąd dekodowania danych uzupełniających (data, uwagi)."},
        {"version-35 header cut off", [](const std::string& path) { StoreV35Without(path, 5); },
         "Odczyt. Ver 35. Błąd dekodowania informacji o teście."},
        {"version-35 question count no number",
         [](const std::string& path) {
             Description35 description(SampleTest());
             description.SetLine(2, "trzy");
             description.Store(path);
         },
         "Odczyt. Ver 35. Błąd dekodowania informacji o teście."},
        {"version-35 question lines missing",
         [](const std::string& path) { StoreV35Without(path, 6 + 9 + 8); },
         "Odczyt. Ver 35. Błąd dekodowania pytania nr. 2"},
        {"version-35 empty answer key",
         [](const std::string& path) {
             Description35 description(SampleTest());
             description.SetLine(6 + 9 * 2 + 5, "");
             description.Store(path);
         },
         "Odczyt. Ver 35. Błąd dekodowania pytania nr. 3"},
        {"six answers",
         [](const std::string& path) {
             Description40 description(SampleTest());
             description.SetInt("ilo", "", 6);
             description.Store(path);
         },
         "Odczyt. Nieobsługiwana liczba odpowiedzi: 6"},
        {"version-35 two answers",
         [](const std::string& path) {
             Description35 description(SampleTest());
             description.SetLine(5, "2");
             description.Store(path);
         },
         "Odczyt. Nieobsługiwana liczba odpowiedzi: 2"},
        // A header integer that is empty, absent or no decimal integer does not read as 0.
        {"no answer count", StoreV40HeaderText("ilo", ""),
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
        {"question count in words", StoreV40HeaderText("ilp", "dwa"),
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
        {"time limit in words", StoreV40HeaderText("tim", "pięć"),
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
        {"question count absent",
         [](const std::string& path) {
             const std::string text =
                 "<tst><cd>x</cd><ilo>3</ilo><typ>0</typ><nmt>Bez liczby</nmt><name>A</name>"
                 "<tim>0</tim><skl><tk>0</tk></skl></tst>";
             const TestMember member{std::string(kTest40Member), Bytes(text.begin(), text.end())};
             ASSERT_TRUE(WriteTestArchive(path, {&member, 1}).ok());
         },
         "Odczyt. Ver 40. Błąd dekodowania informacji o teście."},
    };
}

TEST(TestFileRead, EveryDamageFailsWithItsJournalLineAndTheDamagedFileBox) {
    for (const Damage& damage : DamagedFixtures()) {
        SCOPED_TRACE(damage.name);
        ReadHarness reader;
        damage.make(reader.File("t.skt"));
        EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Failed);
        ExpectFailure(reader, damage.journalLine);
    }
}

TEST(TestFileRead, MissingFileFailsAsAnUnreadableArchive) {
    ReadHarness reader;
    EXPECT_EQ(reader.Read(reader.File("brak.skt")), TestReadOutcome::Failed);
    ExpectFailure(reader, "Odczyt. Błąd wczytania spakowanej zawartości.");
    EXPECT_FALSE(reader.archive.IsOpen());
}

TEST(TestFileRead, EveryReadStartsFromAnEmptyDocument) {
    ReadHarness reader;
    ASSERT_TRUE(WriteTest40(reader.File("full.skt"), SampleTest(), {}).ok());
    ASSERT_EQ(reader.Read(reader.File("full.skt")), TestReadOutcome::Loaded);
    reader.document.At(1).answers[0].isChosen = true;

    TestDocument shorter;
    shorter.answerCount = 3;
    shorter.questionCount = 1;
    shorter.gradingSource = GradingSource::Settings;
    shorter.thresholds = reader.settings.sk;
    shorter.At(1).text = "Jedno pytanie";
    shorter.At(1).correctFlags = "001";
    shorter.At(1).answers[2].isCorrect = true;
    ASSERT_TRUE(WriteTest40(reader.File("short.skt"), shorter, {}).ok());
    ASSERT_EQ(reader.Read(reader.File("short.skt")), TestReadOutcome::Loaded);
    ExpectSameTest(shorter, reader.document);
    EXPECT_TRUE(reader.document.At(2).permutation.empty());
    EXPECT_EQ(reader.document.At(2).correctFlags, "0000");
}

TEST(TestFileRead, NegativeQuestionCountIsADamagedHeader) {
    ReadHarness reader;
    Description40 description(SampleTest());
    description.SetInt("ilp", "", -1);
    description.Store(reader.File("t.skt"));
    EXPECT_EQ(reader.Read(reader.File("t.skt")), TestReadOutcome::Failed);
    ExpectFailure(reader, "Odczyt. Ver 40. Błąd dekodowania informacji o teście.");
}

}  // namespace
}  // namespace oplix
