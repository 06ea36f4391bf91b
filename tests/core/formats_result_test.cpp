#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "app/Journal.h"
#include "fakes.h"
#include "formats/ResultFile.h"
#include "formats/ResultFileReader.h"
#include "formats/TestDocument.h"
#include "journal_lines.h"
#include "storage/Cp1250.h"
#include "storage/DCPbase64.h"
#include "storage/EncodedFields.h"
#include "storage/UPak.h"
#include "storage/Utf.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_fakes::ScopedEnvironmentVariable;

namespace fs = std::filesystem;
using testing_fakes::FixedClock;
using testing_fakes::RecordingMessageBox;
using testing_files::ReadFileBytes;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

constexpr std::string_view kFallingBack =
    "Problemy z zapisem pliku wyniku we wskazanym folderze.\rWynik zostanie zapisany w folderze "
    "osobistym.";
constexpr std::string_view kNothingSaved =
    "Nie udało się zapisać wyniku testu.\rZgłoś to nauczycielowi.";

// Two questions of three answers, shown in an order other than the file's. In question 1 the
// pupil chose answer 2, the correct one; in question 2 answer 1, while answer 3 is correct.
TestDocument ThreeAnswerTest() {
    TestDocument test;
    test.answerCount = 3;
    test.testType = 0;
    test.questionCount = 2;
    test.timeLimit = 20;
    test.testName = "Ułamki zwykłe";
    test.author = "Józef Łęcki";
    test.gradingSource = GradingSource::Class;
    test.thresholds = {95, 85, 70, 50, 35};
    const int slots[3] = {3, 1, 2};
    for (int number = 1; number <= 2; ++number) {
        Question& question = test.At(number);
        question.text = "Pytanie " + std::to_string(number);
        for (int i = 0; i < 3; ++i) {
            question.answers[i].text = "Odpowiedź " + std::to_string(i + 1);
            question.answers[i].displaySlot = slots[i];
        }
    }
    test.At(1).answers[1].isCorrect = true;
    test.At(1).answers[1].isChosen = true;
    test.At(2).answers[2].isCorrect = true;
    test.At(2).answers[0].isChosen = true;
    return test;
}

// A saved result file opened through the archive layer and the XML tree, apart from the writer.
struct SavedResult {
    std::vector<std::string> members;
    Bytes xml;
    TpkXML doc;

    std::string Field(std::string_view name, std::string_view child = "") {
        int code = -1;
        std::string value = ReadTextField(kFieldBase64, "odp", name, child, "", doc, code);
        EXPECT_EQ(code, kFieldOk) << name << "/" << child;
        return value;
    }
    std::string Plain(std::string_view name) {
        int code = -1;
        return ReadTextField(kFieldPlain, "odp", name, "", "", doc, code);
    }
    std::string Text() const { return std::string(xml.begin(), xml.end()); }
};

SavedResult LoadSaved(const std::string& path) {
    SavedResult saved;
    TVfsPAK archive;
    EXPECT_TRUE(OpenArchiveForReading(path, archive)) << path;
    ListMembers(saved.members, archive);
    Result<std::optional<Bytes>> member = GetMember("Selo0.xml", archive);
    if (member && *member) {
        saved.xml = **member;
    }
    EXPECT_TRUE(saved.doc.LoadFromBytes(saved.xml)) << path;
    return saved;
}

// The opening tags of a written document, in the order they appear.
std::vector<std::string> OpeningTags(const std::string& xml) {
    static const std::regex tag("<([A-Za-z0-9]+)>");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), tag); it != std::sregex_iterator();
         ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ResultFileTest : public ::testing::Test {
protected:
    ResultFileTest() : journal_(clock_) {
        fs::create_directory(documents_.Path() + "/Dokumenty");
        journal_.SetFile(journalFolder_.File("Dziennik.txt"));
        journal_.SetLevel(0);
    }

    // Named pupil, started at 08:30:15 and ended at 08:57:55; saved at 09:00:00.
    ResultSession Session(StartMode mode = StartMode::PupilAndTestFromLists) const {
        ResultSession session;
        session.startTime = clock_.Now() - 1785;
        session.endTime = clock_.Now() - 125;
        session.mode = mode;
        session.surname = "Wiśniewska";
        session.firstName = "Zofia";
        return session;
    }

    ResultRecord Record(const TestDocument& test, const ResultSession& session) const {
        return GatherResultRecord(test, session, clock_);
    }

    bool Write(const std::string& destination, const ResultRecord& record) {
        last_ = WriteResult(destination, record, DocumentsFolder(), journal_, box_);
        return last_.built;
    }
    std::vector<std::string> JournalLines() const {
        return testing_files::JournalMessages(journalFolder_.File("Dziennik.txt"));
    }
    static std::string Kept(const std::string& path) {
        return "Zapis wyniku testu. Plik " + path +
               " już istnieje i został zachowany. Nowego wyniku nie zapisano.";
    }
    static std::string WrittenTo(const std::string& path) {
        return "Zapis wyniku testu. Wynik zapisano w pliku " + path + ".";
    }

    std::string DocumentsFolder() const { return documents_.Path() + "/Dokumenty"; }
    std::string JournalText() const {
        const Bytes bytes = ReadFileBytes(journalFolder_.File("Dziennik.txt"));
        return Cp1250ToUtf8(std::string(bytes.begin(), bytes.end()));
    }

    ScopedEnvironmentVariable locale_{"LC_ALL", "C"};
    ScopedEnvironmentVariable zone_{"TZ", "UTC"};
    FixedClock clock_;  // 09:00:00
    ScratchFolder folder_;
    ScratchFolder documents_;
    ScratchFolder journalFolder_;
    Journal journal_;
    RecordingMessageBox box_;
    ResultWrite last_;
};

TEST_F(ResultFileTest, WritesEveryFieldEncodedInTheFileOrder) {
    const std::string path = folder_.File("Ułamki_Wiśniewska_Zofia.sko");
    ASSERT_TRUE(Write(path, Record(ThreeAnswerTest(), Session())));

    SavedResult saved = LoadSaved(path);
    EXPECT_EQ(saved.members, std::vector<std::string>{"Selo0.xml"});
    EXPECT_EQ(saved.Field("ver"), "Edytor - Ver.4.0");
    EXPECT_EQ(saved.Field("lic"), kBuildIdentification);
    EXPECT_EQ(saved.Field("nmt"), "Ułamki zwykłe");
    EXPECT_EQ(saved.Field("name"), "Józef Łęcki");
    EXPECT_EQ(saved.Field("typ"), "0");
    EXPECT_EQ(saved.Field("ilp"), "2");
    EXPECT_EQ(saved.Field("ilo"), "3");
    EXPECT_EQ(saved.Field("tim"), "20");
    EXPECT_EQ(saved.Field("dts"), "08:30:15");
    EXPECT_EQ(saved.Field("dtk"), "08:57:55");
    EXPECT_EQ(saved.Field("dtz"), "09:00:00");
    EXPECT_EQ(saved.Field("skl", "tkk"), "2");
    EXPECT_EQ(saved.Field("skl", "cel"), "95");
    EXPECT_EQ(saved.Field("skl", "bdb"), "85");
    EXPECT_EQ(saved.Field("skl", "db"), "70");
    EXPECT_EQ(saved.Field("skl", "dst"), "50");
    EXPECT_EQ(saved.Field("skl", "dp"), "35");
    EXPECT_EQ(saved.Field("nzu"), "Wiśniewska");
    EXPECT_EQ(saved.Field("imu"), "Zofia");
    EXPECT_EQ(saved.Field("zwm"), "0");
    // Answers in file order, whatever order the pupil saw them in.
    EXPECT_EQ(saved.Field("pyt1", "nrw"), "01000");
    EXPECT_EQ(saved.Field("pyt1", "nrp"), "01000");
    EXPECT_EQ(saved.Field("pyt2", "nrw"), "10000");
    EXPECT_EQ(saved.Field("pyt2", "nrp"), "00100");
    EXPECT_EQ(saved.Plain("cd"), "tr");

    const std::string text = saved.Text();
    EXPECT_EQ(text.front(), '<') << "no byte-order mark";
    EXPECT_EQ(text.find("<?"), std::string::npos) << "no declaration";
    EXPECT_NE(text.find("<cd>tr</cd>"), std::string::npos);
    EXPECT_EQ(text.find("Wiśniewska"), std::string::npos) << "names are encoded";
    const std::vector<std::string> order = {
        "odp", "ver", "lic",  "nmt", "name", "typ",  "ilp", "ilo", "tim", "dts",
        "dtk", "dtz", "skl",  "tkk", "cel",  "bdb",  "db",  "dst", "dp",  "nzu",
        "imu", "zwm", "pyt1", "nrw", "nrp",  "pyt2", "nrw", "nrp", "cd"};
    EXPECT_EQ(OpeningTags(text), order);
    EXPECT_EQ(FolderEntries(folder_.Path()),
              std::vector<std::string>{"Ułamki_Wiśniewska_Zofia.sko"});
    EXPECT_TRUE(box_.shown.empty());
}

TEST_F(ResultFileTest, GatheringTakesTheStoredFlagsOfAllFiveAnswers) {
    TestDocument test = ThreeAnswerTest();
    test.At(1).answers[4].isCorrect = true;  // unused by a three-answer test, yet stored
    test.At(2).answers[3].isChosen = true;
    const ResultRecord record = Record(test, Session());
    ASSERT_EQ(record.QuestionCount(), 2);
    EXPECT_EQ(record.questions[0], (ResultQuestion{"01000", "01001"}));
    EXPECT_EQ(record.questions[1], (ResultQuestion{"10010", "00100"}));
    EXPECT_EQ(record.gradingSource, 2);
    EXPECT_EQ(record.buildIdentification, kBuildIdentification);
    EXPECT_EQ(record.saveTime, "09:00:00");
}

TEST_F(ResultFileTest, TimesOfDayAreLocalTime) {
    ScopedEnvironmentVariable zone("TZ", "UTC-2");  // two hours east of Greenwich
    EXPECT_EQ(LongTimeOfDay(clock_.Now()), "11:00:00");
    EXPECT_EQ(Record(ThreeAnswerTest(), Session()).startTime, "10:30:15");
}

TEST_F(ResultFileTest, OnlyTheNamedModesRecordThePupilsNames) {
    const struct {
        StartMode mode;
        bool named;
    } cases[] = {{StartMode::None, false},
                 {StartMode::PupilAndTestFromLists, true},
                 {StartMode::TestFromListAnonymously, false},
                 {StartMode::NamedPupilWithTestFile, true},
                 {StartMode::TestFileAnonymously, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        const std::string path = folder_.File("mode" + std::to_string(static_cast<int>(c.mode)));
        ASSERT_TRUE(Write(path, Record(ThreeAnswerTest(), Session(c.mode))));
        SavedResult saved = LoadSaved(path);
        EXPECT_EQ(saved.Field("nzu"), c.named ? "Wiśniewska" : "Anonimowy użytkownik");
        EXPECT_EQ(saved.Text().find("<imu>") == std::string::npos, !c.named);
        EXPECT_EQ(saved.Field("imu"), c.named ? "Zofia" : "");
    }
}

TEST_F(ResultFileTest, TestWithoutQuestionsHasNoPytAndCdFollowsZwm) {
    TestDocument test = ThreeAnswerTest();
    test.questionCount = 0;
    const std::string path = folder_.File("empty.sko");
    ASSERT_TRUE(Write(path, Record(test, Session())));
    SavedResult saved = LoadSaved(path);
    EXPECT_EQ(saved.Field("ilp"), "0");
    EXPECT_EQ(saved.Text().find("pyt"), std::string::npos);
    const std::vector<std::string> tags = OpeningTags(saved.Text());
    ASSERT_GE(tags.size(), 2u);
    EXPECT_EQ(tags[tags.size() - 2], "zwm");
    EXPECT_EQ(tags.back(), "cd");
}

TEST_F(ResultFileTest, EndedByTimeLimitMark) {
    for (bool ended : {true, false}) {
        ResultSession session = Session();
        session.endedByTimeLimit = ended;
        const std::string path = folder_.File(ended ? "ended.sko" : "finished.sko");
        ASSERT_TRUE(Write(path, Record(ThreeAnswerTest(), session)));
        EXPECT_EQ(LoadSaved(path).Field("zwm"), ended ? "1" : "0");
    }
}

TEST_F(ResultFileTest, AnExistingFileIsNeverReplaced) {
    const std::string path = folder_.File("wynik.sko");
    ASSERT_TRUE(Write(path, Record(ThreeAnswerTest(), Session())));
    const Bytes first = ReadFileBytes(path);
    clock_.Advance(60);
    ResultSession later = Session();
    later.endTime += 60;
    EXPECT_TRUE(Write(path, Record(ThreeAnswerTest(), later)));
    EXPECT_EQ(ReadFileBytes(path), first);
    EXPECT_TRUE(last_.writtenPath.empty());

    // Nor is a file that is no result at all, nor what a symbolic link points at.
    const Bytes notes = {'n', 'o', 't', 'e', 's'};
    WriteFileBytes(folder_.File("notatki.sko"), notes);
    fs::create_symlink(folder_.File("gone"), folder_.File("link.sko"));
    EXPECT_TRUE(Write(folder_.File("notatki.sko"), Record(ThreeAnswerTest(), later)));
    EXPECT_TRUE(Write(folder_.File("link.sko"), Record(ThreeAnswerTest(), later)));
    EXPECT_EQ(ReadFileBytes(folder_.File("notatki.sko")), notes);
    EXPECT_FALSE(fs::exists(folder_.File("gone")));

    EXPECT_TRUE(box_.shown.empty());
    // The journal says which file was kept instead of the new result.
    EXPECT_EQ(JournalLines(),
              (std::vector<std::string>{Kept(path), Kept(folder_.File("notatki.sko")),
                                        Kept(folder_.File("link.sko"))}));
    EXPECT_EQ(FolderEntries(folder_.Path()),
              (std::vector<std::string>{"link.sko", "notatki.sko", "wynik.sko"}));
}

TEST_F(ResultFileTest, FolderThatCannotTakeTheFileFallsBackToTheDocumentsFolder) {
    const struct {
        std::string destination;
        std::string fileName;
    } cases[] = {{folder_.File("brak/wynik.sko"), "wynik.sko"},
                 {folder_.File("brak/Klasa 3a\\inny.sko"), "inny.sko"},
                 {folder_.File("plik/trzeci.sko"), "trzeci.sko"}};  // "plik" is a file
    WriteFileBytes(folder_.File("plik"), Bytes{'x'});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination);
        box_.shown.clear();
        ASSERT_TRUE(Write(c.destination, Record(ThreeAnswerTest(), Session())));
        ASSERT_EQ(box_.shown.size(), 1u);
        EXPECT_EQ(box_.shown[0].kind, MessageKind::Close);
        EXPECT_EQ(box_.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(box_.shown[0].text, kFallingBack);
        EXPECT_EQ(LoadSaved(DocumentsFolder() + "/" + c.fileName).Field("pyt1", "nrw"), "01000");
        EXPECT_EQ(last_.writtenPath, DocumentsFolder() + "/" + c.fileName);
    }
    EXPECT_EQ(FolderEntries(DocumentsFolder()),
              (std::vector<std::string>{"inny.sko", "trzeci.sko", "wynik.sko"}));
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"plik"});
    EXPECT_EQ(JournalLines(),
              (std::vector<std::string>{WrittenTo(DocumentsFolder() + "/wynik.sko"),
                                        WrittenTo(DocumentsFolder() + "/inny.sko"),
                                        WrittenTo(DocumentsFolder() + "/trzeci.sko")}));
}

// The pupil was told his result goes to the documents folder: an earlier result of the same name
// there is kept, and the new one takes the next free name.
TEST_F(ResultFileTest, FallbackKeepsAnEarlierResultAndWritesUnderTheNextFreeName) {
    const std::string earlier = DocumentsFolder() + "/wynik.sko";
    ASSERT_TRUE(Write(earlier, Record(ThreeAnswerTest(), Session())));
    const Bytes first = ReadFileBytes(earlier);
    TestDocument changed = ThreeAnswerTest();
    changed.At(1).answers[0].isChosen = true;
    for (const char* expected : {"wynik (2).sko", "wynik (3).sko"}) {
        box_.shown.clear();
        ASSERT_TRUE(Write(folder_.File("brak/wynik.sko"), Record(changed, Session())));
        ASSERT_EQ(box_.shown.size(), 1u);
        EXPECT_EQ(box_.shown[0].text, kFallingBack);
        EXPECT_EQ(last_.writtenPath, DocumentsFolder() + "/" + expected);
        EXPECT_EQ(LoadSaved(last_.writtenPath).Field("pyt1", "nrw"), "11000");
    }
    EXPECT_EQ(ReadFileBytes(earlier), first);
    EXPECT_EQ(FolderEntries(DocumentsFolder()),
              (std::vector<std::string>{"wynik (2).sko", "wynik (3).sko", "wynik.sko"}));
    EXPECT_EQ(JournalLines(),
              (std::vector<std::string>{WrittenTo(DocumentsFolder() + "/wynik (2).sko"),
                                        WrittenTo(DocumentsFolder() + "/wynik (3).sko")}));
}

TEST_F(ResultFileTest, BothPlacesFailingTellsThePupilAndTheJournal) {
    const std::string documents = documents_.File("nie-ma");
    const ResultWrite written =
        WriteResult(folder_.File("brak/wynik.sko"), Record(ThreeAnswerTest(), Session()), documents,
                    journal_, box_);
    EXPECT_TRUE(written.built);
    EXPECT_TRUE(written.writtenPath.empty());
    ASSERT_EQ(box_.shown.size(), 2u);
    EXPECT_EQ(box_.shown[0].text, kFallingBack);
    EXPECT_EQ(box_.shown[1].kind, MessageKind::Close);
    EXPECT_EQ(box_.shown[1].icon, MessageIcon::Warning);
    EXPECT_EQ(box_.shown[1].text, kNothingSaved);
    const std::string line = "Zapis wyniku testu. Nie udało się zapisać pliku " + documents +
                             "/wynik.sko: No such file or directory - ";
    EXPECT_EQ(JournalText().rfind(line, 0), 0u) << JournalText();
    EXPECT_EQ(JournalText().find("\r\n"), JournalText().size() - 2) << "one line";
    EXPECT_FALSE(fs::exists(documents));
}

// A write that fails after the temporary file was made (here: the file size limit) leaves
// nothing behind in either folder.
TEST_F(ResultFileTest, WriteFailingMidwayLeavesNoFileBehind) {
    TestDocument test = ThreeAnswerTest();
    test.testName = std::string(2000, 'x');
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limit = old;
    limit.rlim_cur = 1000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool written = Write(folder_.File("wynik.sko"), Record(test, Session()));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(written);
    ASSERT_EQ(box_.shown.size(), 2u);
    EXPECT_EQ(box_.shown[1].text, kNothingSaved);
    EXPECT_NE(JournalText().find("/Dokumenty/wynik.sko: File too large"), std::string::npos)
        << JournalText();
    EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
    EXPECT_TRUE(FolderEntries(DocumentsFolder()).empty());
}

TEST_F(ResultFileTest, DocumentThatCannotBeBuiltIsNotWritten) {
    TestDocument test = ThreeAnswerTest();
    test.author = "\xff\xfe";  // not UTF-8
    EXPECT_FALSE(Write(folder_.File("wynik.sko"), Record(test, Session())));
    EXPECT_EQ(JournalText().rfind("Zapis wyniku testu. Błąd przetwarzania ogólnych danych. - ", 0),
              0u)
        << JournalText();
    EXPECT_TRUE(box_.shown.empty());
    EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
}

TEST_F(ResultFileTest, ResultFileIsReadableAsTheUmaskAllows) {
    const mode_t old = umask(027);
    const bool written = Write(folder_.File("wynik.sko"), Record(ThreeAnswerTest(), Session()));
    umask(old);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(stat(folder_.File("wynik.sko").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(ResultFileTest, ReaderGivesBackWhatWasWritten) {
    TestDocument full = ThreeAnswerTest();
    full.questionCount = kMaxQuestions;
    full.At(45).answers[4].isChosen = true;
    ResultSession timedOut = Session(StartMode::TestFileAnonymously);
    timedOut.endedByTimeLimit = true;
    const ResultRecord records[] = {Record(ThreeAnswerTest(), Session()), Record(full, timedOut)};
    for (const ResultRecord& record : records) {
        const std::string path = folder_.File("wynik" + std::to_string(record.QuestionCount()));
        ASSERT_TRUE(Write(path, record));
        Result<ResultRecord> back = ReadResult(path);
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_EQ(*back, record);
    }
}

// A result file holding `xml` as its one member.
std::string PackDocument(const ScratchFolder& folder, const std::string& name, const Bytes& xml,
                         std::string_view member = "Selo0.xml") {
    const std::string path = folder.File(name);
    TVfsPAK archive;
    EXPECT_TRUE(CreateArchiveForWriting(path, archive));
    EXPECT_TRUE(PutMember(member, xml, archive));
    return path;
}

TEST_F(ResultFileTest, ReaderTakesPlainFieldsWhenCdIsNotTr) {
    TpkXML doc;
    int code = kFieldOk;
    WriteTextField(kFieldPlain, "odp", "nmt", "", "", doc, "Ułamki", code);
    for (std::string_view name : {"typ", "ilo", "tim", "zwm"}) {
        WriteTextField(kFieldPlain, "odp", name, "", "", doc, "1", code);
    }
    WriteTextField(kFieldPlain, "odp", "ilp", "", "", doc, "1", code);
    for (std::string_view name : {"tkk", "cel", "bdb", "db", "dst", "dp"}) {
        WriteTextField(kFieldPlain, "odp", "skl", name, "", doc, "7", code);
    }
    WriteTextField(kFieldPlain, "odp", "pyt1", "nrw", "", doc, "00100", code);
    WriteTextField(kFieldPlain, "odp", "pyt1", "nrp", "", doc, "00101", code);
    WriteTextField(kFieldPlain, "odp", "cd", "", "", doc, "fa", code);
    ASSERT_EQ(code, kFieldOk);
    Result<ResultRecord> back = ReadResult(PackDocument(folder_, "plain.sko", doc.SaveToBytes()));
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(back->testName, "Ułamki");
    EXPECT_EQ(back->thresholds[4], 7);
    EXPECT_TRUE(back->endedByTimeLimit);
    ASSERT_EQ(back->QuestionCount(), 1);
    EXPECT_EQ(back->questions[0], (ResultQuestion{"00100", "00101"}));
}

TEST_F(ResultFileTest, ReaderRefusesDamagedFiles) {
    const Result<Bytes> good = BuildResultDocument(Record(ThreeAnswerTest(), Session()));
    ASSERT_TRUE(good);
    // The good document with one element's stored text replaced.
    const auto tampered = [&](std::u16string_view name, std::u16string_view child,
                              std::u16string text) {
        TpkXML doc;
        EXPECT_TRUE(doc.LoadFromBytes(*good));
        TpkXMLNode* node = doc.FindTopNode(u"odp", false)->FindChild(name, true);
        if (!child.empty()) {
            node = node->FindChild(child, true);
        }
        node->Text = std::move(text);
        return doc.SaveToBytes();
    };
    const auto encoded = [](std::string_view value) { return EncodeText16(Utf8ToUtf16(value)); };
    const auto text = [](std::string_view value) { return Bytes(value.begin(), value.end()); };
    const struct {
        std::string name;
        Bytes xml;
        std::string_view member;
        std::string_view reason;
    } cases[] = {
        {"other member", *good, "Serr0.xml", "no member Selo0.xml"},
        {"wrong root", text("<tst>\r\n\t<ilp>MAA=</ilp>\r\n</tst>\r\n"), "Selo0.xml", "odp"},
        {"wrong end tag", text("<odp>\r\n\t<ver>a</ilp>\r\n</odp>"), "Selo0.xml", "well-formed"},
        {"lone surrogate", tampered(u"nmt", u"", u"ANg="), "Selo0.xml", "odp/nmt"},
        {"count not a number", tampered(u"ilp", u"", encoded("dwa")), "Selo0.xml", "odp/ilp"},
        {"count too high", tampered(u"ilp", u"", encoded("46")), "Selo0.xml", "odp/ilp"},
        {"count negative", tampered(u"ilp", u"", encoded("-1")), "Selo0.xml", "odp/ilp"},
        {"threshold missing", tampered(u"skl", u"dp", u""), "Selo0.xml", "odp/skl/dp"},
        {"short flags", tampered(u"pyt2", u"nrp", encoded("0010")), "Selo0.xml", "odp/pyt2/nrp"},
        {"flag letter", tampered(u"pyt1", u"nrw", encoded("01x00")), "Selo0.xml", "odp/pyt1/nrw"},
        {"question missing", tampered(u"pyt2", u"nrw", u""), "Selo0.xml", "odp/pyt2/nrw"},
        {"mark 2", tampered(u"zwm", u"", encoded("2")), "Selo0.xml", "odp/zwm"},
        {"plain in encoded", tampered(u"tim", u"", u"20"), "Selo0.xml", "odp/tim"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Result<ResultRecord> read = ReadResult(PackDocument(folder_, "bad.sko", c.xml, c.member));
        ASSERT_FALSE(read);
        EXPECT_NE(read.error().message.find(c.reason), std::string::npos) << read.error().message;
    }

    WriteFileBytes(folder_.File("empty.sko"), Bytes{});
    WriteFileBytes(folder_.File("junk.sko"), text("not an archive"));
    for (const std::string name : {"missing.sko", "empty.sko", "junk.sko", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadResult(folder_.File(name)));
    }
    EXPECT_EQ(fs::file_size(folder_.File("empty.sko")), 0u) << "reading changes nothing";
}

}  // namespace
}  // namespace oplix
