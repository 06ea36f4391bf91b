#pragma once

#include <QDialog>

#include "ui/windows/ListWindowParts.h"

namespace oplix::ui {

class PupilChoice;

// The modal window in which a pupil chooses himself from the students list before picking a
// test file (start mode 3). Whoever opened it goes on only when a surname has been chosen.
class PupilsListWindow : public QDialog {
    Q_OBJECT
public:
    explicit PupilsListWindow(ListWindowServices services, QWidget* parent = nullptr);

    static constexpr QPoint kOffset{280, 61};

    // Reads the students list and shows the window until it closes. Nothing is shown when
    // the list cannot be read.
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
    PupilChoice* pupils_ = nullptr;
};

}  // namespace oplix::ui
