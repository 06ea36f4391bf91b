#include "ui/windows/TestChoice.h"

#include "formats/TestsListFile.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/windows/ListTree.h"

namespace oplix::ui {
namespace {

constexpr QRect kBarPanel(226, 0, 16, 301);
constexpr std::string_view kListUnreadable =
    "Problem z otwarciem pliku listy testów.\rBrak pliku lub plik jest uszkodzony.";

}  // namespace

TestChoice::TestChoice(QWidget* window, const QRect& viewport, const QRect& label, ListTree& tree,
                       ListWindowServices& services)
    : QObject(window), tree_(tree), services_(services) {
    viewport_ = WhitePanel(window, "PPodListeTestow", viewport);
    surface_ = new TreeSurface(viewport_);
    connect(surface_, &TreeSurface::pressed, this, &TestChoice::Pressed);
    connect(surface_, &TreeSurface::doubleClicked, this, [this] { tree_.ToggleSelected(); });

    barPanel_ = WhitePanel(viewport_, "PPodListweTestow", kBarPanel);
    bar_ = new RAMScrollBar(barPanel_);
    bar_->setObjectName(QStringLiteral("ListwaVDrzewo"));
    bar_->setGeometry(QRect(QPoint(0, 0), kBarPanel.size()));
    connect(bar_, &RAMScrollBar::changed, this,
            [this](int position) { tree_.ScrollTree(position); });

    label_ = ChoiceLabel(window, "LTest", label);
}

bool TestChoice::Load() {
    TestsList list;
    if (!ReadTestsList(services_.settings.sct, list, services_.journal, services_.messages)) {
        services_.messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning,
                                          kListUnreadable);
        return false;
    }
    tree_.LoadTree(list.entries, surface_, viewport_, bar_, barPanel_);
    return true;
}

void TestChoice::ShowNoChoice() {
    label_->setText(QStringLiteral("Wybór testu: brak wyboru. "));
}

void TestChoice::Pressed(int y) {
    tree_.ClickTree(y);
    if (tree_.TakeChosenTest(services_.settings.sct, services_.choice)) {
        label_->setText(QString::fromStdString("Wybór testu: " + services_.choice.testName));
    }
}

}  // namespace oplix::ui
