#include "testing/TestSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "formats/AnswerShuffling.h"
#include "formats/ResultFile.h"
#include "formats/TestFileReader.h"
#include "storage/FileOperations.h"
#include "storage/FilePaths.h"
#include "testing/Grading.h"
#include "testing/NetworkShare.h"
#include "testing/ResultFileName.h"
#include "testing/SessionStore.h"
#include "testing/SummaryText.h"

namespace oplix {
namespace {

constexpr std::string_view kMissingFile = "Brak pliku na wskazanej ścieżce.";
constexpr std::string_view kLocalFile = "Wybrano plik lokalny ";
constexpr std::string_view kCopied = "Przekopiowano plik ";
constexpr std::string_view kCopyFailed = "Wystąpiły problemy z przekopiowaniem pliku ";
constexpr std::string_view kLoaded = "Wczytano plik ";
constexpr std::string_view kFilledPanel = "Wypelniono okno zawartością: ";
constexpr std::string_view kLeaveUnfinished =
    "Nie dokończyłeś pracy z testem.\rCzy rzeczywiście zamknąć?";
constexpr std::string_view kAnonymousPupil = "Anonimowy użytkownik";
constexpr std::string_view kChangedTestLine = "Plik testu ";
constexpr std::string_view kKeepFailedLine = "Nie udało się zapisać stanu pracy nad testem.";

bool IsExistingFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string GaugeHint(int elapsedMinutes, int minutesLeft) {
    return "Czas pracy: " + std::to_string(elapsedMinutes) +
           " min\rPozostało: " + std::to_string(minutesLeft) + " min";
}

LetterState FinalState(const Answer& answer) {
    if (answer.isCorrect) {
        return answer.isChosen ? LetterState::Marked : LetterState::Missed;
    }
    return answer.isChosen ? LetterState::Wrong : LetterState::Plain;
}

const ClassRecord* ClassAt(const StudentsList* students, int classIndex) {
    if (students == nullptr || classIndex < 0 ||
        static_cast<std::size_t>(classIndex) >= students->classes.size()) {
        return nullptr;
    }
    return &students->classes[static_cast<std::size_t>(classIndex)];
}

// What the class gave the test, the answers' order and the marks, as the work kept them. False
// when the work does not fit the test.
bool PutBackOnDocument(const InterruptedWork& work, TestDocument& test) {
    if (test.questionCount != std::ssize(work.questions) || test.answerCount != work.answerCount) {
        return false;
    }
    test.timeLimit = work.timeLimit;
    test.gradingSource = work.gradingSource;
    test.thresholds = work.thresholds;
    for (int number = 1; number <= test.questionCount; ++number) {
        const QuestionWork& done = work.questions[static_cast<std::size_t>(number - 1)];
        Question& question = test.At(number);
        ApplyOrder(done.order, test.answerCount, question);
        for (int k = 0; k < kMaxAnswers; ++k) {
            question.answers[static_cast<std::size_t>(k)].isChosen = (done.chosen >> k & 1) != 0;
        }
    }
    return true;
}

}  // namespace

TestSession::TestSession(SessionServices services, SessionWindows windows)
    : services_(services), windows_(windows), archive_(std::make_unique<TVfsPAK>()) {}

bool TestSession::StartTest(const CurrentChoice& choice, const StudentsList* students) {
    TestDocument read;
    std::unique_ptr<TVfsPAK> archive;
    AvailableFile file;
    if (!ReadChosenTest(choice, students, read, archive, file)) {
        return false;
    }
    const ClassRecord* pupilsClass = ClassAt(students, choice.classIndex);
    resultFolder_ = pupilsClass != nullptr ? pupilsClass->resultFolder : std::string();
    TakeOver(choice, read, archive, file);
    if (!keepStartsLater_) {
        KeepWork();
    }
    return true;
}

bool TestSession::ResumeTest(const InterruptedWork& work) {
    const Result<TestFileIdentity> identity =
        IdentifyTestFile(work.testPath, store_ != nullptr ? store_->Files() : PosixFileSystem());
    if (!identity || *identity != work.testFile) {
        ReportChangedTestFile(work);
        return false;
    }
    const CurrentChoice choice{.surname = work.surname,
                               .firstName = work.firstName,
                               .classIndex = work.classIndex,
                               .pupilIndex = work.pupilIndex,
                               .testPath = work.testPath,
                               .testName = work.testName,
                               .mode = work.mode};
    TestDocument read;
    std::unique_ptr<TVfsPAK> archive;
    AvailableFile file;
    if (!ReadChosenTest(choice, nullptr, read, archive, file)) {
        return false;
    }
    if (!PutBackOnDocument(work, read)) {
        ReportChangedTestFile(work);
        return false;
    }
    resultFolder_ = work.resultFolder;
    TakeOver(choice, read, archive, file);
    RestoreWork(work);
    if (!keepStartsLater_) {
        KeepWork();
    }
    return true;
}

void TestSession::ReportChangedTestFile(const InterruptedWork& work) {
    services_.journal.Write(kJournalErrors,
                            std::string(kChangedTestLine) + FileNamePart(work.testPath) +
                                " zmienił się lub zniknął. Przerwanej pracy nie można "
                                "dokończyć.");
    services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning,
                                      "Plik testu „" + work.testName +
                                          "” zmienił się lub zniknął od czasu przerwania pracy. "
                                          "Nie można jej dokończyć.");
}

bool TestSession::ReadChosenTest(const CurrentChoice& choice, const StudentsList* students,
                                 TestDocument& read, std::unique_ptr<TVfsPAK>& archive,
                                 AvailableFile& file) {
    // The test is read beside the one on screen, which stays exactly as it was (its marks, its
    // timer, its archive, its local copy) until the new one has been read.
    if (!MakeFileAvailable(choice.testPath, file)) {
        return false;
    }
    const TestReadContext context{.journal = services_.journal,
                                  .messages = services_.messages,
                                  .settings = services_.settings,
                                  .random = services_.random,
                                  .mode = choice.mode,
                                  .students = students,
                                  .classIndex = choice.classIndex};
    archive = std::make_unique<TVfsPAK>();
    return ReadTest(file.path, read, *archive, context) == TestReadOutcome::Loaded;
}

void TestSession::TakeOver(const CurrentChoice& choice, TestDocument& read,
                           std::unique_ptr<TVfsPAK>& archive, const AvailableFile& file) {
    ClearPanelForNewTest();
    document_ = std::move(read);
    archive_ = std::move(archive);
    testPath_ = file.path;
    localCopyPath_ = file.localCopy;
    chosenPath_ = choice.testPath;
    keepFailed_ = false;
    testFileKnown_ = false;
    JournalFileLine(kJournalFileOperations, kLoaded);
    mode_ = choice.mode;
    surname_ = choice.surname;
    firstName_ = choice.firstName;
    classIndex_ = choice.classIndex;
    pupilIndex_ = choice.pupilIndex;
    Begin();
    SetStatusLineAndResultPath();
}

// Begin has shown the first question of a fresh start; the work replaces what it set.
void TestSession::RestoreWork(const InterruptedWork& work) {
    for (int question = 1; question <= document_.questionCount; ++question) {
        windows_.panel.DrawQuestionRow(question, SlotStates(question));
    }
    startMilliseconds_ = work.startMilliseconds;
    endMilliseconds_ = work.endMilliseconds;
    if (timing_) {
        elapsedMinutes_ = std::min(work.elapsedMinutes, document_.timeLimit);
        windows_.panel.SetGaugePosition(elapsedMinutes_);
        windows_.panel.SetGaugeHint(
            GaugeHint(elapsedMinutes_, document_.timeLimit - elapsedMinutes_));
        if (elapsedMinutes_ >= document_.timeLimit) {
            // The limit ran out with the automatic end turned off: the pupil goes on untimed.
            windows_.timer.Stop();
            timing_ = false;
            windows_.panel.SetGaugePosition(0);
            windows_.panel.ShowGauge(false);
        }
    }
    if (work.finished) {
        RestoreGrading(work);
    } else {
        windows_.panel.ShowGradeButton(EveryQuestionAnswered());
    }
    if (work.currentQuestion >= 1) {
        SelectQuestion(work.currentQuestion);
    }
    if (work.hintShown) {
        ToggleHint();
    }
}

// The result of a named pupil was written at the grading; it is not written again.
void TestSession::RestoreGrading(const InterruptedWork& work) {
    running_ = false;
    finished_ = true;
    endedByTimer_ = work.endedByTimer;
    windows_.timer.Stop();
    timing_ = false;
    windows_.panel.ShowGradeButton(services_.settings.woc);
    DrawFinalStates();
    correctCount_ = CountCorrect(document_);
    ShowSummary();
}

void TestSession::ClearPanelForNewTest() {
    shownTextMember_.clear();
    shownPictureMember_.clear();
    windows_.panel.ShowHintButton(false);
    windows_.panel.ShowGradeButton(false);
    HideHintPanel();
    windows_.legend.Hide();
}

bool TestSession::MakeFileAvailable(const std::string& path, AvailableFile& file) {
    if (!IsExistingFile(path)) {
        services_.journal.Write(kJournalWarnings, kMissingFile);
        return false;
    }
    const std::string name = FileNamePart(path);
    if (!LiesOnNetworkShare(path)) {
        file.path = path;
        services_.journal.Write(kJournalFileOperations, std::string(kLocalFile) + name + ".");
        return true;
    }
    const std::string copy = JoinPath(services_.locations.tempFolder, name);
    int code = 0;
    if (!CopyFileByMethod(services_.settings.trc, path, copy, code, true)) {
        services_.journal.Write(kJournalWarnings,
                                std::string(kCopyFailed) + name + ". Kod " + std::to_string(code));
        return false;
    }
    file.path = copy;
    file.localCopy = copy;
    services_.journal.Write(kJournalFileOperations, std::string(kCopied) + name + ".");
    return true;
}

void TestSession::JournalFileLine(int level, std::string_view prefix) {
    services_.journal.Write(level, std::string(prefix) + FileNamePart(testPath_) + ".");
}

void TestSession::Begin() {
    windows_.pictureWindow.ShowEmpty();
    windows_.textWindow.ShowEmpty();
    running_ = true;
    finished_ = false;
    correctCount_ = 0;
    windows_.panel.DrawQuestionList(document_.questionCount, AnswerCount());
    windows_.panel.SetAnswerButtons(std::array<LetterState, kMaxAnswers>{});
    currentQuestion_ = 1;
    windows_.panel.DrawQuestionNumber(currentQuestion_, true);
    ShowQuestion(currentQuestion_);
    windows_.panel.ShowPanel(true);
    panelShown_ = true;
    windows_.panel.FocusPanel();
    startMilliseconds_ = services_.clock.NowMilliseconds();
    endMilliseconds_ = startMilliseconds_;
    endedByTimer_ = false;
    windows_.panel.ShowSeveralAnswersStrip(document_.testType == kSeveralAnswersTest);
    StartTimeKeeping();
    JournalFileLine(kJournalRoutine, kFilledPanel);
}

void TestSession::SetStatusLineAndResultPath() {
    const std::string quotedTitle = "\"" + document_.testName + "\".  Autor testu: ";
    if (IsNamedMode(mode_)) {
        const std::string name =
            services_.settings.fn ? firstName_ + " " + surname_ : surname_ + " " + firstName_;
        windows_.panel.SetStatusLine(name + " rozwiązuje test " + quotedTitle + document_.author);
        resultPath_ = NamedResultPath();
    } else {
        windows_.panel.SetStatusLine(std::string(kAnonymousPupil) + " rozwiązuje test " +
                                     quotedTitle + document_.author);
        resultPath_.clear();
    }
}

std::string TestSession::NamedResultPath() const {
    const std::string folder = !resultFolder_.empty() ? WindowsPathToLocal(resultFolder_)
                                                      : services_.locations.documentsFolder;
    return ResultFilePath(folder, document_.testName, surname_, firstName_);
}

void TestSession::StartTimeKeeping() {
    elapsedMinutes_ = 0;
    if (document_.timeLimit < 1) {
        windows_.panel.ShowGauge(false);
        windows_.timer.Stop();
        timing_ = false;
        return;
    }
    windows_.panel.ResetGauge(document_.timeLimit);
    windows_.panel.SetGaugeHint(GaugeHint(0, document_.timeLimit));
    windows_.panel.ShowGauge(true);
    windows_.timer.Start(kMinuteIntervalMs);
    timing_ = true;
}

void TestSession::TickMinute() {
    if (!timing_ || !running_) {
        return;
    }
    ++elapsedMinutes_;
    windows_.panel.SetGaugePosition(elapsedMinutes_);
    const int minutesLeft = document_.timeLimit - elapsedMinutes_;
    windows_.panel.SetGaugeHint(GaugeHint(elapsedMinutes_, minutesLeft));
    if (minutesLeft <= 0) {
        windows_.timer.Stop();
        timing_ = false;
        windows_.panel.SetGaugePosition(0);
        windows_.panel.ShowGauge(false);
        windows_.sounds.Play(Sound::TimeUp);
        if (services_.settings.wz) {
            endedByTimer_ = true;
            FinishTest();
        }
    } else if (minutesLeft <= 3) {
        windows_.sounds.Play(Sound::LastMinutes);
    }
    KeepWork();
}

void TestSession::MarkAnswer(int slot) {
    if (!running_ || !IsValidQuestion(currentQuestion_)) {
        return;
    }
    HideHintWithoutKeeping();
    const int clicked = AnswerIndexInSlot(currentQuestion_, slot);
    if (clicked < 0) {
        return;
    }
    auto& answers = document_.At(currentQuestion_).answers;
    if (document_.testType != kOneAnswerTest) {
        answers[static_cast<std::size_t>(clicked)].isChosen =
            !answers[static_cast<std::size_t>(clicked)].isChosen;
    } else {
        for (Answer& answer : answers) {
            answer.isChosen = false;
        }
        answers[static_cast<std::size_t>(clicked)].isChosen = true;
    }
    const std::vector<LetterState> states = SlotStates(currentQuestion_);
    windows_.panel.DrawQuestionRow(currentQuestion_, states);
    windows_.panel.SetAnswerButtons(states);
    windows_.panel.ShowGradeButton(EveryQuestionAnswered());
    KeepWork();
}

void TestSession::SelectQuestion(int question) {
    if (!panelShown_ || !IsValidQuestion(question)) {
        return;
    }
    if (IsValidQuestion(currentQuestion_)) {
        windows_.panel.DrawQuestionNumber(currentQuestion_, false);
    }
    currentQuestion_ = question;
    windows_.panel.DrawQuestionNumber(currentQuestion_, true);
    ShowQuestion(currentQuestion_);
    KeepWork();
}

void TestSession::ShowQuestion(int question) {
    const std::vector<LetterState> states = SlotStates(question);
    if (running_) {
        windows_.panel.DrawQuestionRow(question, states);
        windows_.panel.SetAnswerButtons(states);
    } else if (finished_) {
        windows_.panel.SetAnswerButtons(states);
    }
    std::vector<std::string> slotTexts;
    for (int slot = 1; slot <= AnswerCount(); ++slot) {
        slotTexts.push_back(SlotText(question, slot));
    }
    const Question& shown = document_.At(question);
    windows_.panel.ShowQuestion(shown.text, slotTexts);
    ShowMember(windows_.textWindow, shown.textMember, shownTextMember_);
    ShowMember(windows_.pictureWindow, shown.pictureMember, shownPictureMember_);
    windows_.panel.ShowHintButton(!shown.hint.empty());
    HideHintPanel();
}

void TestSession::ShowMember(QuestionSideView& window, const std::string& member,
                             std::string& shown) {
    if (member.empty()) {
        window.Empty();
        shown.clear();
    } else if (member != shown) {
        window.Load(*archive_, member);
        shown = member;
    }
}

void TestSession::ToggleHint() {
    if (!panelShown_ || !IsValidQuestion(currentQuestion_)) {
        return;
    }
    if (hintShown_) {
        HideHintPanel();
    } else {
        windows_.panel.ShowHintPanel(document_.At(currentQuestion_).hint);
        hintShown_ = true;
    }
    KeepWork();
}

void TestSession::HideHint() {
    if (hintShown_) {
        HideHintPanel();
        KeepWork();
    }
}

void TestSession::HideHintWithoutKeeping() {
    if (hintShown_) {
        HideHintPanel();
    }
}

void TestSession::HideHintPanel() {
    windows_.panel.HideHintPanel();
    hintShown_ = false;
}

void TestSession::FinishTest() {
    // A test whose successor could not be read has nothing left to grade.
    if (!panelShown_ || (!running_ && !finished_)) {
        return;
    }
    running_ = false;
    finished_ = true;
    windows_.timer.Stop();
    timing_ = false;
    if (!services_.settings.woc) {
        windows_.panel.ShowGradeButton(false);
    }
    if (services_.settings.opl) {
        windows_.legend.Show();
    }
    DrawFinalStates();
    endMilliseconds_ = services_.clock.NowMilliseconds();
    correctCount_ = CountCorrect(document_);
    if (IsNamedMode(mode_)) {
        resultPath_ = NamedResultPath();
        SaveResult(resultPath_);
    }
    KeepWork();
    ShowSummary();
}

void TestSession::ShowSummary() {
    const std::string summary =
        BuildSummaryText({.questionCount = document_.questionCount,
                          .correctCount = correctCount_,
                          .workingMilliseconds = endMilliseconds_ - startMilliseconds_,
                          .thresholds = document_.thresholds});
    windows_.summary.Show(summary, !IsNamedMode(mode_));
}

InterruptedWork TestSession::Work() const {
    InterruptedWork work{.testPath = chosenPath_,
                         .testFile = testFile_,
                         .testName = document_.testName,
                         .mode = mode_,
                         .surname = surname_,
                         .firstName = firstName_,
                         .classIndex = classIndex_,
                         .pupilIndex = pupilIndex_,
                         .resultFolder = resultFolder_,
                         .timeLimit = document_.timeLimit,
                         .gradingSource = document_.gradingSource,
                         .thresholds = document_.thresholds,
                         .answerCount = document_.answerCount,
                         .questions = {},
                         .currentQuestion = currentQuestion_,
                         .hintShown = hintShown_,
                         .elapsedMinutes = elapsedMinutes_,
                         .startMilliseconds = startMilliseconds_,
                         .finished = finished_,
                         .endedByTimer = endedByTimer_,
                         .endMilliseconds = endMilliseconds_,
                         .savedMilliseconds = services_.clock.NowMilliseconds()};
    for (int number = 1; number <= std::min(document_.questionCount, kMaxQuestions); ++number) {
        const Question& question = document_.At(number);
        QuestionWork& done = work.questions.emplace_back();
        done.order = question.permutation;
        for (int k = 0; k < kMaxAnswers; ++k) {
            done.chosen |= question.answers[static_cast<std::size_t>(k)].isChosen ? 1u << k : 0u;
        }
    }
    return work;
}

void TestSession::KeepWork() {
    if (store_ == nullptr || !panelShown_) {
        return;
    }
    // Hashing the test file waits for the first record, which may come after the first paint.
    if (!testFileKnown_) {
        const Result<TestFileIdentity> identity = IdentifyTestFile(chosenPath_, store_->Files());
        testFile_ = identity ? *identity : TestFileIdentity{};
        testFileKnown_ = true;
    }
    if (!store_->Keep(Work()) && !keepFailed_) {
        keepFailed_ = true;
        services_.journal.Write(kJournalErrors, kKeepFailedLine);
    }
}

void TestSession::DrawFinalStates() {
    for (int question = 1; question <= document_.questionCount; ++question) {
        windows_.panel.DrawQuestionRow(question, SlotStates(question));
    }
    if (IsValidQuestion(currentQuestion_)) {
        windows_.panel.SetAnswerButtons(SlotStates(currentQuestion_));
    }
}

bool TestSession::SaveResult(const std::string& path) {
    writtenResultPath_.clear();
    if (!finished_ || !panelShown_) {
        return false;
    }
    const ResultSession session{.startTime = StartTime(),
                                .endTime = EndTime(),
                                .endedByTimeLimit = endedByTimer_,
                                .mode = mode_,
                                .surname = surname_,
                                .firstName = firstName_};
    const ResultRecord record = GatherResultRecord(document_, session, services_.clock);
    const ResultWrite written = WriteResult(path, record, services_.locations.documentsFolder,
                                            services_.journal, services_.messages);
    writtenResultPath_ = written.writtenPath;
    return written.built;
}

bool TestSession::LeaveTest() {
    if (!panelShown_) {
        return true;
    }
    windows_.legend.Close();
    if (!finished_ && services_.settings.al &&
        services_.messages.ShowMessageBox(MessageKind::YesNoCancel, MessageIcon::Question,
                                          kLeaveUnfinished) != MessageBoxResult::Yes) {
        return false;
    }
    windows_.timer.Stop();
    timing_ = false;
    running_ = false;
    if (store_ != nullptr) {
        store_->Discard();
    }
    windows_.pictureWindow.Close();
    windows_.textWindow.Close();
    windows_.panel.ShowPanel(false);
    panelShown_ = false;
    mode_ = StartMode::None;
    windows_.panel.SetStatusLine("");
    if (!localCopyPath_.empty() && IsExistingFile(localCopyPath_)) {
        // The archive holds the copy open; it must let go before the file can go.
        archive_.reset();
        ::unlink(localCopyPath_.c_str());
        archive_ = std::make_unique<TVfsPAK>();
    }
    localCopyPath_.clear();
    return true;
}

int TestSession::AnswerIndexInSlot(int question, int slot) const {
    if (!IsValidQuestion(question)) {
        return -1;
    }
    const Question& asked = document_.At(question);
    for (int k = 0; k < AnswerCount(); ++k) {
        if (asked.answers[static_cast<std::size_t>(k)].displaySlot == slot) {
            return k;
        }
    }
    return -1;
}

const Answer* TestSession::AnswerInSlot(int question, int slot) const {
    const int index = AnswerIndexInSlot(question, slot);
    return index < 0 ? nullptr : &document_.At(question).answers[static_cast<std::size_t>(index)];
}

std::string TestSession::SlotText(int question, int slot) const {
    const Answer* answer = AnswerInSlot(question, slot);
    return answer != nullptr ? answer->text : std::string();
}

bool TestSession::HasChosenAnswer(int question) const {
    if (!IsValidQuestion(question)) {
        return false;
    }
    const auto& answers = document_.At(question).answers;
    return std::any_of(answers.begin(), answers.begin() + AnswerCount(),
                       [](const Answer& answer) { return answer.isChosen; });
}

bool TestSession::EveryQuestionAnswered() const {
    for (int question = 1; question <= document_.questionCount; ++question) {
        if (!HasChosenAnswer(question)) {
            return false;
        }
    }
    return true;
}

std::vector<LetterState> TestSession::SlotStates(int question) const {
    std::vector<LetterState> states(static_cast<std::size_t>(AnswerCount()), LetterState::Plain);
    if (!IsValidQuestion(question)) {
        return states;
    }
    if (!finished_) {
        for (int slot = 1; slot <= AnswerCount(); ++slot) {
            const Answer* answer = AnswerInSlot(question, slot);
            if (answer != nullptr && answer->isChosen) {
                states[static_cast<std::size_t>(slot - 1)] = LetterState::Marked;
            }
        }
        return states;
    }
    const Question& asked = document_.At(question);
    for (int k = 0; k < AnswerCount(); ++k) {
        const Answer& answer = asked.answers[static_cast<std::size_t>(k)];
        if (answer.displaySlot >= 1 && answer.displaySlot <= AnswerCount()) {
            states[static_cast<std::size_t>(answer.displaySlot - 1)] = FinalState(answer);
        }
    }
    return states;
}

bool TestSession::IsValidQuestion(int question) const {
    return question >= 1 && question <= std::min(document_.questionCount, kMaxQuestions);
}

int TestSession::AnswerCount() const {
    return std::clamp(document_.answerCount, 0, kMaxAnswers);
}

}  // namespace oplix
