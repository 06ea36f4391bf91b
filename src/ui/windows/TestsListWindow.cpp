#include "ui/windows/TestsListWindow.h"

#include "ui/widgets/ClickArea.h"
#include "ui/windows/TestChoice.h"

namespace oplix::ui {
namespace {

constexpr std::string_view kIncomplete =
    "Podaj poprawnie konieczne dane.\rWybierz test z podanej listy.";

}  // namespace

TestsListWindow::TestsListWindow(ListWindowServices services, ListTree& tree, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TFOknoLTestow"));
    setWindowTitle(QStringLiteral("Wybór testu"));
    setModal(true);
    setFixedSize(310, 487);
    ListWindowBackground(this, "ImTlo", QStringLiteral("TloListyTestow"));
    tests_ =
        new TestChoice(this, QRect(33, 47, 245, 305), QRect(29, 451, 249, 13), tree, services_);
    auto* accept = new ClickArea(this, QRect(181, 384, 89, 24));
    accept->setObjectName(QStringLiteral("LWprowadz"));
    connect(accept, &ClickArea::clicked, this, &TestsListWindow::Accept);
    auto* cancel = new ClickArea(this, QRect(181, 420, 89, 24));
    cancel->setObjectName(QStringLiteral("LAnuluj"));
    connect(cancel, &ClickArea::clicked, this, &TestsListWindow::Cancel);
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
    if (services_.origin) {
        move(services_.origin() + kOffset);
    }
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
