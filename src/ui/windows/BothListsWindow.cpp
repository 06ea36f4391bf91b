#include "ui/windows/BothListsWindow.h"

#include "formats/StudentsListFile.h"
#include "ui/windows/ListTree.h"
#include "ui/windows/PupilChoice.h"
#include "ui/windows/TestChoice.h"

namespace oplix::ui {
namespace {

constexpr std::string_view kStudentsUnreadable =
    "Problemy z otwarciem pliku listy uczniów.\rBrak pliku lub plik jest uszkodzony.";
constexpr std::string_view kIncomplete =
    "Podaj poprawnie konieczne dane.\rWybierz osobę i test z podanych list.";

const PupilChoiceLayout kPupils{.listPanel = QRect(35, 86, 220, 337),
                                .list = QRect(8, 0, 246, 337),
                                .barPanel = QRect(266, 88, 16, 329),
                                .label = QRect(32, 433, 257, 13),
                                .rowsInView = 20};

}  // namespace

BothListsWindow::BothListsWindow(ListWindowServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(std::move(services)),
      tree_(std::make_unique<ListTree>()) {
    SetUpListWindow(this, "TFOknoObieListy", QStringLiteral("Wybór ucznia i testu"),
                    QSize(585, 486));
    ListWindowBackground(this, "ImTloListy", SkinPictureId::TloObieListy);
    pupils_ = new PupilChoice(this, kPupils, services_);
    tests_ =
        new TestChoice(this, QRect(301, 47, 245, 305), QRect(32, 447, 257, 13), *tree_, services_);
    AddAcceptAndCancel(this, QPoint(456, 383), &BothListsWindow::Accept, &BothListsWindow::Cancel);
}

BothListsWindow::~BothListsWindow() = default;

bool BothListsWindow::Prepare() {
    CurrentChoice& choice = services_.choice;
    choice.classIndex = -1;
    choice.pupilIndex = -1;
    choice.testName.clear();
    choice.surname.clear();
    choice.firstName.clear();
    if (!ReadStudentsList(services_.settings.scl, services_.students, choice, services_.journal,
                          services_.clock)) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning,
                                          kStudentsUnreadable);
        return false;
    }
    pupils_->Fill();
    return tests_->Load();
}

void BothListsWindow::Open() {
    if (Prepare() && exec() == QDialog::Accepted) {
        services_.startTest();
    }
}

void BothListsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceFromPanel(this, services_, kOffset);
    pupils_->SetLabel(QStringLiteral("Wybór osoby: brak wyboru. "));
    tests_->ShowNoChoice();
}

void BothListsWindow::Accept() {
    CurrentChoice& choice = services_.choice;
    if (choice.testName.empty() || choice.surname.empty()) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kIncomplete);
        return;
    }
    choice.mode = StartMode::PupilAndTestFromLists;
    done(QDialog::Accepted);
}

void BothListsWindow::Cancel() {
    done(QDialog::Rejected);
    CurrentChoice& choice = services_.choice;
    choice.mode = StartMode::None;
    choice.classIndex = -1;
    choice.pupilIndex = -1;
    choice.testName.clear();
}

void BothListsWindow::reject() {
    Cancel();
}

}  // namespace oplix::ui
