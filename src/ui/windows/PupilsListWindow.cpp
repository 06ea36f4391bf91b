#include "ui/windows/PupilsListWindow.h"

#include "formats/StudentsListFile.h"
#include "ui/windows/PupilChoice.h"

namespace oplix::ui {
namespace {

// This message has no closing full stop.
constexpr std::string_view kStudentsUnreadable =
    "Problemy z otwarciem pliku listy uczniów.\rPrawdopodobnie plik jest uszkodzony";
constexpr std::string_view kIncomplete =
    "Podaj poprawnie konieczne dane.\rWybierz osobę z podanej listy.";

const PupilChoiceLayout kPupils{.listPanel = QRect(35, 86, 220, 267),
                                .list = QRect(0, 0, 250, 267),
                                .barPanel = QRect(260, 80, 16, 273),
                                .label = QRect(31, 451, 250, 13),
                                .rowsInView = 16};

}  // namespace

PupilsListWindow::PupilsListWindow(ListWindowServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(std::move(services)) {
    SetUpListWindow(this, "TFOknoLUczniow", QStringLiteral("Wybór ucznia"), QSize(310, 487));
    ListWindowBackground(this, "ImTlo", SkinPictureId::TloListyUczniow);
    pupils_ = new PupilChoice(this, kPupils, services_);
    AddAcceptAndCancel(this, QPoint(181, 385), &PupilsListWindow::Accept,
                       &PupilsListWindow::Cancel);
}

bool PupilsListWindow::Prepare() {
    if (!ReadStudentsList(services_.settings.scl, services_.students, services_.choice,
                          services_.journal, services_.clock)) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning,
                                          kStudentsUnreadable);
        return false;
    }
    pupils_->Fill();
    return true;
}

void PupilsListWindow::Open() {
    if (Prepare()) {
        exec();
    }
}

void PupilsListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceFromPanel(this, services_, kOffset);
    pupils_->SetLabel(QStringLiteral("Nie wybrano żadnej osoby. "));
}

void PupilsListWindow::Accept() {
    if (services_.choice.surname.empty()) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kIncomplete);
        return;
    }
    done(QDialog::Accepted);
}

void PupilsListWindow::Cancel() {
    done(QDialog::Rejected);
    CurrentChoice& choice = services_.choice;
    choice.mode = StartMode::None;
    choice.classIndex = -1;
    choice.pupilIndex = -1;
    choice.surname.clear();
}

void PupilsListWindow::reject() {
    Cancel();
}

}  // namespace oplix::ui
