#include "formats/TestFileReader.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "formats/AnswerShuffling.h"
#include "storage/Cp1250.h"
#include "storage/EncodedFields.h"
#include "storage/Scrambling.h"
#include "storage/TextLines.h"
#include "storage/UPak.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

// Every line of the test reader goes to the journal at the level that is always recorded.

constexpr std::string_view kArchiveUnreadable = "Odczyt. Błąd wczytania spakowanej zawartości.";
constexpr std::string_view kDescriptionUnreadable = "Odczyt. Błąd wczytywania pliku Serr0.";
constexpr std::string_view kHeader40Failed =
    "Odczyt. Ver 40. Błąd dekodowania informacji o teście.";
constexpr std::string_view kQuestion40Failed = "Odczyt. Ver 40. Błąd dekodowania pytania nr. ";
constexpr std::string_view kSupplement40Failed =
    "Odczyt. Ver 40. Błąd dekodowania danych uzupełniających (data, uwagi).";
constexpr std::string_view kHeader35Failed =
    "Odczyt. Ver 35. Błąd dekodowania informacji o teście.";
constexpr std::string_view kQuestion35Failed = "Odczyt. Ver 35. Błąd dekodowania pytania nr. ";
constexpr std::string_view kUnsupportedAnswerCount = "Odczyt. Nieobsługiwana liczba odpowiedzi: ";
constexpr std::string_view kTooManyQuestions = "Test zawiera zbyt dużo pytań.";
constexpr std::string_view kTooManyQuestionsBox =
    "Test zawiera zbyt dużo pytań.\rProgram obsługuje testy do 45 pytań.";
constexpr std::string_view kDamagedFileBox =
    "Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony.";

// Version 35: line 0 is not read, lines 1 to 5 hold the header, then nine lines per question.
constexpr std::size_t kFirstQuestionLine35 = 6;
constexpr std::size_t kLinesPerQuestion35 = 9;

// A decimal integer with an optional sign that fits in 32 bits, nothing around it.
std::optional<int> ParseDecimal(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool IsSupportedAnswerCount(int count) {
    return count >= 3 && count <= kMaxAnswers;
}

// Answer k is correct when character k of the flags is '1'; missing characters count as '0'.
void MarkCorrectAnswers(Question& question) {
    for (std::size_t k = 0; k < question.answers.size(); ++k) {
        Answer& answer = question.answers[k];
        answer.isCorrect = k < question.correctFlags.size() && question.correctFlags[k] == '1';
        answer.isChosen = false;
    }
}

class TestReader {
public:
    TestReader(TestDocument& document, const TVfsPAK& archive, const TestReadContext& context)
        : document_(document), archive_(archive), context_(context) {}

    TestReadOutcome Read35();
    TestReadOutcome Read40();
    TestReadOutcome Fail(std::string_view journalLine);

private:
    // Version 40.
    bool ReadText(std::string_view level1, std::string_view level2, std::string_view level3,
                  std::string& target);
    bool ReadInt(std::string_view level1, std::string_view level2, std::string_view level3,
                 int& target);
    bool ReadHeader40();
    bool ReadThresholds40();
    bool ReadClassTime();
    bool ReadQuestion40(int number);

    // Version 35.
    bool DecodeLine35(std::size_t index, std::string& target) const;
    bool ReadHeader35();
    bool ReadQuestion35(int number);

    // Checks shared by both versions once the header is read; nullopt when reading goes on.
    std::optional<TestReadOutcome> CheckCounts(std::string_view headerFailure);
    TestReadOutcome Refuse();
    bool FinishQuestion(Question& question);
    const ClassRecord* ChosenClass() const;

    TestDocument& document_;
    const TVfsPAK& archive_;
    const TestReadContext& context_;
    TpkXML xml_;
    int fieldMode_ = kFieldPlain;
    std::vector<std::string> lines35_;
};

TestReadOutcome TestReader::Fail(std::string_view journalLine) {
    context_.journal.Write(kJournalErrors, journalLine);
    return TestReadOutcome::Failed;
}

TestReadOutcome TestReader::Refuse() {
    context_.journal.Write(kJournalErrors, kTooManyQuestions);
    context_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning,
                                     kTooManyQuestionsBox);
    return TestReadOutcome::Refused;
}

std::optional<TestReadOutcome> TestReader::CheckCounts(std::string_view headerFailure) {
    if (document_.questionCount < 0) {
        return Fail(headerFailure);
    }
    if (document_.questionCount > kMaxQuestions) {
        return Refuse();
    }
    if (!IsSupportedAnswerCount(document_.answerCount)) {
        return Fail(std::string(kUnsupportedAnswerCount) + std::to_string(document_.answerCount));
    }
    return std::nullopt;
}

bool TestReader::FinishQuestion(Question& question) {
    if (question.correctFlags.empty()) {
        return false;
    }
    MarkCorrectAnswers(question);
    ShuffleAnswers(document_.answerCount, context_.random, question);
    return true;
}

const ClassRecord* TestReader::ChosenClass() const {
    const StudentsList* students = context_.students;
    if (students == nullptr || context_.classIndex < 0 ||
        static_cast<std::size_t>(context_.classIndex) >= students->classes.size()) {
        return nullptr;
    }
    return &students->classes[static_cast<std::size_t>(context_.classIndex)];
}

bool TestReader::ReadText(std::string_view level1, std::string_view level2, std::string_view level3,
                          std::string& target) {
    int code = kFieldOk;
    target = ReadTextField(fieldMode_, level1, level2, level3, "", xml_, code);
    return code == kFieldOk;
}

// A header integer that is absent or not a decimal integer is a decoding failure of the header:
// read as 0, it would open a damaged test with no questions.
bool TestReader::ReadInt(std::string_view level1, std::string_view level2, std::string_view level3,
                         int& target) {
    int code = kFieldOk;
    target = ReadIntField(fieldMode_, level1, level2, level3, "", xml_, code);
    return code == kFieldOk;
}

bool TestReader::ReadThresholds40() {
    int ownScale = 0;
    if (!ReadInt("tst", "skl", "tk", ownScale)) {
        return false;
    }
    if (ownScale == 1) {
        static constexpr std::string_view kNames[] = {"cel", "bdb", "db", "dst", "dp"};
        for (std::size_t i = 0; i < document_.thresholds.size(); ++i) {
            if (!ReadInt("tst", "skl", kNames[i], document_.thresholds[i])) {
                return false;
            }
        }
        document_.gradingSource = GradingSource::Test;
        return true;
    }
    const ClassRecord* chosen = ChosenClass();
    if (IsNamedMode(context_.mode) && chosen != nullptr && chosen->ownScale == 1) {
        document_.thresholds = chosen->thresholds;
        document_.gradingSource = GradingSource::Class;
    } else {
        document_.thresholds = context_.settings.sk;
        document_.gradingSource = GradingSource::Settings;
    }
    return true;
}

// A test without its own time limit, taken by a pupil from the list, gets his class's limit.
bool TestReader::ReadClassTime() {
    const ClassRecord* chosen = ChosenClass();
    if (document_.timeLimit != 0 || !IsNamedMode(context_.mode) || chosen == nullptr) {
        return true;
    }
    const std::optional<int> minutes = ParseDecimal(chosen->classTime);
    if (!minutes) {
        return false;
    }
    document_.timeLimit = *minutes;
    return true;
}

bool TestReader::ReadHeader40() {
    std::string mark;
    // The mark itself is always plain; "tr" says every other field is encoded.
    if (!ReadText("tst", "cd", "", mark)) {
        return false;
    }
    fieldMode_ = mark == "tr" ? kFieldBase64 : kFieldPlain;
    return ReadInt("tst", "ilp", "", document_.questionCount) &&
           ReadInt("tst", "ilo", "", document_.answerCount);
}

bool TestReader::ReadQuestion40(int number) {
    Question& question = document_.At(number);
    const std::string element = "pyt" + std::to_string(number);
    static constexpr std::string_view kAnswerNames[] = {"od1", "od2", "od3", "od4", "od5"};
    if (!ReadText("tst", element, "tr", question.text)) {
        return false;
    }
    for (std::size_t k = 0; k < question.answers.size(); ++k) {
        if (!ReadText("tst", element, kAnswerNames[k], question.answers[k].text)) {
            return false;
        }
    }
    return ReadText("tst", element, "odp", question.correctFlags) &&
           ReadText("tst", element, "plr", question.textMember) &&
           ReadText("tst", element, "plimg", question.pictureMember) &&
           ReadText("tst", element, "kom", question.hint) && FinishQuestion(question);
}

TestReadOutcome TestReader::Read40() {
    Result<std::optional<Bytes>> member = GetMember(kTest40Member, archive_);
    if (!member || !member->has_value()) {
        return Fail(kHeader40Failed);
    }
    // A document that stops parsing part-way is read as far as it goes: what is missing reads
    // as absent, and a lost answer key fails its question.
    (void)xml_.LoadFromBytes(**member);
    if (!ReadHeader40()) {
        return Fail(kHeader40Failed);
    }
    if (std::optional<TestReadOutcome> stop = CheckCounts(kHeader40Failed)) {
        return *stop;
    }
    if (!ReadInt("tst", "typ", "", document_.testType) ||
        !ReadText("tst", "nmt", "", document_.testName) ||
        !ReadText("tst", "name", "", document_.author) ||
        !ReadInt("tst", "tim", "", document_.timeLimit) || !ReadThresholds40() ||
        !ReadClassTime()) {
        return Fail(kHeader40Failed);
    }
    for (int number = 1; number <= document_.questionCount; ++number) {
        if (!ReadQuestion40(number)) {
            return Fail(std::string(kQuestion40Failed) + std::to_string(number));
        }
    }
    if (!ReadText("tst", "dtu", "", document_.date) ||
        !ReadText("tst", "uwg", "", document_.remarks)) {
        return Fail(kSupplement40Failed);
    }
    return TestReadOutcome::Loaded;
}

bool TestReader::DecodeLine35(std::size_t index, std::string& target) const {
    if (index >= lines35_.size()) {
        return false;
    }
    Result<std::string> value = UnscrambleTestText(lines35_[index]);
    if (!value) {
        return false;
    }
    target = Cp1250ToUtf8(*value);
    return true;
}

bool TestReader::ReadHeader35() {
    std::string testType, questionCount, answerCount;
    if (!DecodeLine35(1, testType) || !DecodeLine35(2, questionCount) ||
        !DecodeLine35(3, document_.testName) || !DecodeLine35(4, document_.author) ||
        !DecodeLine35(5, answerCount)) {
        return false;
    }
    const std::optional<int> type = ParseDecimal(testType);
    const std::optional<int> questions = ParseDecimal(questionCount);
    const std::optional<int> answers = ParseDecimal(answerCount);
    if (!type || !questions || !answers) {
        return false;
    }
    document_.testType = *type;
    document_.questionCount = *questions;
    document_.answerCount = *answers;
    document_.thresholds = context_.settings.sk;
    document_.gradingSource = GradingSource::Settings;
    return true;
}

bool TestReader::ReadQuestion35(int number) {
    Question& question = document_.At(number);
    const std::size_t first =
        kFirstQuestionLine35 + kLinesPerQuestion35 * static_cast<std::size_t>(number - 1);
    if (!DecodeLine35(first, question.text)) {
        return false;
    }
    for (std::size_t k = 0; k < 4; ++k) {
        if (!DecodeLine35(first + 1 + k, question.answers[k].text)) {
            return false;
        }
    }
    return DecodeLine35(first + 5, question.correctFlags) &&
           DecodeLine35(first + 6, question.textMember) &&
           DecodeLine35(first + 7, question.pictureMember) &&
           DecodeLine35(first + 8, question.hint) && FinishQuestion(question);
}

TestReadOutcome TestReader::Read35() {
    Result<std::optional<Bytes>> member = GetMember(kTest35Member, archive_);
    if (!member || !member->has_value()) {
        return Fail(kDescriptionUnreadable);
    }
    lines35_ = SplitTextLines(**member);
    if (!ReadHeader35()) {
        return Fail(kHeader35Failed);
    }
    if (std::optional<TestReadOutcome> stop = CheckCounts(kHeader35Failed)) {
        return *stop;
    }
    for (int number = 1; number <= document_.questionCount; ++number) {
        if (!ReadQuestion35(number)) {
            return Fail(std::string(kQuestion35Failed) + std::to_string(number));
        }
    }
    return TestReadOutcome::Loaded;
}

TestReadOutcome ReadDescription(TestDocument& document, const TVfsPAK& archive,
                                const TestReadContext& context) {
    TestReader reader(document, archive, context);
    // Running out of memory on a huge member must not take the program down.
    try {
        return MemberExists(kTest35Member, archive) ? reader.Read35() : reader.Read40();
    } catch (const std::exception&) {
        return reader.Fail(kDescriptionUnreadable);
    }
}

}  // namespace

TestReadOutcome ReadTest(const std::string& path, TestDocument& document, TVfsPAK& archive,
                         const TestReadContext& context) {
    document.Reset();
    TestReadOutcome outcome = TestReadOutcome::Failed;
    if (!OpenArchiveForReading(path, archive)) {
        context.journal.Write(kJournalErrors, kArchiveUnreadable);
    } else {
        outcome = ReadDescription(document, archive, context);
    }
    if (outcome == TestReadOutcome::Failed) {
        context.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kDamagedFileBox);
    }
    return outcome;
}

}  // namespace oplix
