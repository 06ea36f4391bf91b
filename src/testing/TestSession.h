#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/CurrentChoice.h"
#include "formats/StudentsList.h"
#include "formats/TestDocument.h"
#include "storage/VfsPAK.h"
#include "testing/InterruptedWork.h"
#include "testing/LetterState.h"
#include "testing/SessionSurroundings.h"

namespace oplix {

class SessionStore;

// One pupil's work on one test, from the choice of the test until the pupil leaves the test
// panel. It holds the one test in memory and the archive it came from; the windows only show
// what it tells them. Named modes write the result at every grading; anonymous modes write it
// when the pupil saves it from the summary.
class TestSession {
public:
    TestSession(SessionServices services, SessionWindows windows);
    TestSession(const TestSession&) = delete;
    TestSession& operator=(const TestSession&) = delete;

    // From now on every change of the pupil's work is kept in `store` (none: nothing is kept)
    // within the call that made it, and the record goes when the pupil leaves the test.
    void KeepWorkIn(SessionStore* store) { store_ = store; }
    // With `later`, a start or a resume leaves its first record to KeepWork, so that a program
    // can paint the first question before writing it (in the same event-loop turn).
    void KeepStartsAfterShowing(bool later) { keepStartsLater_ = later; }
    // Keeps the work on screen now, in the store given to KeepWorkIn.
    void KeepWork();

    // Starts the test `choice` names, in its mode; named modes take the pupil's class from
    // `students`. False when the file is missing, cannot be
    // copied from its share or cannot be read: the journal (and for an unreadable file the box)
    // says why, and the test on screen, if any, stays exactly as it was: its marks, its timer,
    // its panel and its archive.
    bool StartTest(const CurrentChoice& choice, const StudentsList* students = nullptr);
    // Brings back the work as it was kept, on the same test file. False, with the journal line
    // and the box, when that file changed or disappeared since; false as StartTest is when it
    // cannot be read.
    bool ResumeTest(const InterruptedWork& work);
    // The work on the test on screen as the store keeps it.
    InterruptedWork Work() const;
    // The answer button of slot 1-5.
    void MarkAnswer(int slot);
    // A click in the question list, also after grading.
    void SelectQuestion(int question);
    void ToggleHint();
    // The hint panel's close mark and the clicks beside it.
    void HideHint();
    // The grade button, or the time limit.
    void FinishTest();
    // The close label of the panel. False when the pupil chose to stay.
    bool LeaveTest();
    // Every minute while the minute timer runs.
    void TickMinute();
    // The summary's save control in the anonymous modes, with the path the pupil chose; the
    // named modes' own writes go the same way. False when no graded test is on the panel or
    // the result could not be built; WrittenResultPath says where it went.
    bool SaveResult(const std::string& path);

    // Queries of the panel. Questions are numbered from 1, slots from 1.
    // The first answer, in file order, shown in the slot; none when the slot shows nothing.
    const Answer* AnswerInSlot(int question, int slot) const;
    // Empty when the slot shows nothing.
    std::string SlotText(int question, int slot) const;
    bool HasChosenAnswer(int question) const;
    bool EveryQuestionAnswered() const;
    // The letters of slots 1 .. answer count: marks while running, final states after grading.
    std::vector<LetterState> SlotStates(int question) const;

    const TestDocument& Document() const { return document_; }
    const TVfsPAK& Archive() const { return *archive_; }
    StartMode Mode() const { return mode_; }
    const std::string& TestPath() const { return testPath_; }
    const std::string& LocalCopyPath() const { return localCopyPath_; }
    const std::string& ResultPath() const { return resultPath_; }
    // The file the last save wrote, empty when it wrote none (kept an existing file, or failed).
    const std::string& WrittenResultPath() const { return writtenResultPath_; }
    int CurrentQuestion() const { return currentQuestion_; }
    bool IsRunning() const { return running_; }
    bool IsFinished() const { return finished_; }
    bool EndedByTimer() const { return endedByTimer_; }
    int ElapsedMinutes() const { return elapsedMinutes_; }
    int CorrectCount() const { return correctCount_; }
    // Whole seconds of the start and of the last grading.
    std::time_t StartTime() const { return static_cast<std::time_t>(startMilliseconds_ / 1000); }
    std::time_t EndTime() const { return static_cast<std::time_t>(endMilliseconds_ / 1000); }

private:
    // The test file as it will be read: in place, or its copy in the temp folder.
    struct AvailableFile {
        std::string path;
        std::string localCopy;  // empty when used in place
    };
    bool MakeFileAvailable(const std::string& path, AvailableFile& file);
    // Reads the test `choice` names beside the one on screen, which stays as it was.
    bool ReadChosenTest(const CurrentChoice& choice, const StudentsList* students,
                        TestDocument& read, std::unique_ptr<TVfsPAK>& archive, AvailableFile& file);
    void TakeOver(const CurrentChoice& choice, TestDocument& read,
                  std::unique_ptr<TVfsPAK>& archive, const AvailableFile& file);
    void RestoreWork(const InterruptedWork& work);
    void ReportChangedTestFile(const InterruptedWork& work);
    void RestoreGrading(const InterruptedWork& work);
    void ShowSummary();
    void HideHintWithoutKeeping();
    void ClearPanelForNewTest();
    void Begin();
    void SetStatusLineAndResultPath();
    void StartTimeKeeping();
    void ShowQuestion(int question);
    void ShowMember(QuestionSideView& window, const std::string& member, std::string& shown);
    void DrawFinalStates();
    std::string NamedResultPath() const;
    void JournalFileLine(int level, std::string_view prefix);
    void HideHintPanel();
    // The answer's place in file order, -1 when the slot shows none.
    int AnswerIndexInSlot(int question, int slot) const;
    bool IsValidQuestion(int question) const;
    int AnswerCount() const;

    SessionServices services_;
    SessionWindows windows_;
    TestDocument document_;
    std::unique_ptr<TVfsPAK> archive_;

    StartMode mode_ = StartMode::None;
    std::string testPath_;
    std::string localCopyPath_;
    std::string surname_;
    std::string firstName_;
    int classIndex_ = -1;
    int pupilIndex_ = -1;
    std::string chosenPath_;    // as the pupil chose it, before any network copy
    std::string resultFolder_;  // the pupil's class's, as the students list names it
    TestFileIdentity testFile_;
    bool testFileKnown_ = false;
    SessionStore* store_ = nullptr;
    bool keepFailed_ = false;  // journalled once a test
    bool keepStartsLater_ = false;
    int currentQuestion_ = 0;
    bool panelShown_ = false;
    bool running_ = false;
    bool finished_ = false;
    bool endedByTimer_ = false;
    bool timing_ = false;
    bool hintShown_ = false;
    int elapsedMinutes_ = 0;
    std::int64_t startMilliseconds_ = 0;
    std::int64_t endMilliseconds_ = 0;
    int correctCount_ = 0;
    std::string resultPath_;
    std::string writtenResultPath_;
    std::string shownTextMember_;
    std::string shownPictureMember_;
};

}  // namespace oplix
