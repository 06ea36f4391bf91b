#include "testing/InterruptedWorkOffer.h"

#include <string>

#include "storage/FilePaths.h"

namespace oplix {
namespace {

constexpr std::string_view kDamagedRecordLine =
    "Plik przerwanej pracy jest uszkodzony i został usunięty: ";
constexpr std::string_view kFoundLine = "Znaleziono przerwaną pracę nad testem ";
constexpr std::string_view kResumedLine = "Wznowiono przerwaną pracę nad testem ";
constexpr std::string_view kDiscardedLine = "Porzucono przerwaną pracę nad testem ";
constexpr std::string_view kAnonymousPupil = "Anonimowy użytkownik";

std::string PupilOf(const InterruptedWork& work) {
    return IsNamedMode(work.mode) ? work.surname + " " + work.firstName
                                  : std::string(kAnonymousPupil);
}

std::string ResumeQuestion(const InterruptedWork& work) {
    const std::time_t saved = static_cast<std::time_t>(work.savedMilliseconds / 1000);
    return "Praca nad testem „" + work.testName + "” (" + PupilOf(work) + ") została przerwana " +
           JournalDate(saved) + " o " + JournalTime(saved) + ".\rCzy chcesz ją dokończyć?";
}

}  // namespace

bool OfferInterruptedWork(SessionStore& store, TestSession& session, Journal& journal,
                          MessageBoxPresenter& messages) {
    Result<std::optional<InterruptedWork>> found = store.Find();
    if (!found) {
        journal.Write(kJournalErrors,
                      std::string(kDamagedRecordLine) + found.error().message + ".");
        store.Discard();
        return false;
    }
    if (!found->has_value()) {
        return false;
    }
    const InterruptedWork& work = **found;
    const std::string name = FileNamePart(work.testPath);
    journal.Write(kJournalErrors, std::string(kFoundLine) + name + ".");
    if (messages.ShowMessageBox(MessageKind::YesNoCancel, MessageIcon::Question,
                                ResumeQuestion(work)) == MessageBoxResult::Yes) {
        if (session.ResumeTest(work)) {
            journal.Write(kJournalErrors, std::string(kResumedLine) + name + ".");
            return true;
        }
    } else {
        journal.Write(kJournalErrors, std::string(kDiscardedLine) + name + ".");
    }
    store.Discard();
    return false;
}

}  // namespace oplix
