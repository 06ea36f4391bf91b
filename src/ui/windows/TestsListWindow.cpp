#include "ui/windows/TestsListWindow.h"

#include "ui/windows/TestChoice.h"

namespace oplix::ui {
namespace {

constexpr std::string_view kIncomplete =
    "Podaj poprawnie konieczne dane.\rWybierz test z podanej listy.";

}  // namespace

TestsListWindow::TestsListWindow(ListWindowServices services, ListTree& tree, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(std::move(services)) {
    SetUpListWindow(this, "TFOknoLTestow", QStringLiteral("Wybór testu"), QSize(310, 487));
    ListWindowBackground(this, "ImTlo", SkinPictureId::TloListyTestow);
    tests_ =
        new TestChoice(this, QRect(33, 47, 245, 305), QRect(29, 451, 249, 13), tree, services_);
    AddAcceptAndCancel(this, QPoint(181, 384), &TestsListWindow::Accept, &TestsListWindow::Cancel);
}

bool TestsListWindow::Prepare() {
    services_.choice.testName.clear();
    return tests_->Load();
}

void TestsListWindow::Open() {
    if (Prepare() && exec() == QDialog::Accepted) {
        services_.startTest();
    }
}

void TestsListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceFromPanel(this, services_, kOffset);
    tests_->ShowNoChoice();
}

void TestsListWindow::Accept() {
    CurrentChoice& choice = services_.choice;
    if (choice.testName.empty()) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kIncomplete);
        return;
    }
    choice.mode = StartMode::TestFromListAnonymously;
    done(QDialog::Accepted);
    choice.surname.clear();
}

void TestsListWindow::Cancel() {
    done(QDialog::Rejected);
    services_.choice.mode = StartMode::None;
    services_.choice.testName.clear();
}

void TestsListWindow::reject() {
    Cancel();
}

}  // namespace oplix::ui
