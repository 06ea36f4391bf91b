#pragma once

#include <QDialog>
#include <memory>

#include "ui/windows/ListWindowParts.h"

namespace oplix::ui {

class ListTree;
class PupilChoice;
class TestChoice;

// The modal window in which a pupil chooses himself from the students list and a test from
// the tests tree (start mode 1). It owns the one tests tree, which the tests list window
// uses as well.
class BothListsWindow : public QDialog {
    Q_OBJECT
public:
    explicit BothListsWindow(ListWindowServices services, QWidget* parent = nullptr);
    ~BothListsWindow() override;

    static constexpr QPoint kOffset{173, 61};

    // Clears the choice, reads both lists and shows the window until it closes; an accepted
    // choice then starts its test. Nothing is shown when a list cannot be read.
    void Open();
    // The opening up to the showing, for callers that run the window's loop themselves:
    // false when a list could not be read.
    bool Prepare();

    ListTree& Tree() { return *tree_; }

protected:
    void showEvent(QShowEvent* event) override;
    // Closed by other means than its cancel area, it cancels.
    void reject() override;

private:
    void Accept();
    void Cancel();

    ListWindowServices services_;
    std::unique_ptr<ListTree> tree_;
    PupilChoice* pupils_ = nullptr;
    TestChoice* tests_ = nullptr;
};

}  // namespace oplix::ui
