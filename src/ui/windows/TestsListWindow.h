#pragma once

#include <QDialog>

#include "ui/windows/ListWindowParts.h"

namespace oplix::ui {

class ListTree;
class TestChoice;

// The modal window in which an anonymous pupil chooses a test from the tests tree (start
// mode 2). It draws on the tree the both-lists window owns.
class TestsListWindow : public QDialog {
    Q_OBJECT
public:
    TestsListWindow(ListWindowServices services, ListTree& tree, QWidget* parent = nullptr);

    static constexpr QPoint kOffset{280, 61};

    // Empties the test name, reads the tests list and shows the window until it closes; an
    // accepted test then starts. Nothing is shown when the list cannot be read.
    void Open();
    // The opening up to the showing: false when the list could not be read.
    bool Prepare();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Accept();
    void Cancel();

    ListWindowServices services_;
    TestChoice* tests_ = nullptr;
};

}  // namespace oplix::ui
