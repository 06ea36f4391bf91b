#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "testing/SummaryView.h"

class QFileDialog;
class QLabel;

namespace oplix {
class MessageBoxPresenter;
}

namespace oplix::ui {

class PictureButton;

// The small modal window with the summary of a graded test: its text, a close mark and, in
// the anonymous modes, a save button that asks for a result file name and hands it on. It
// stands at (375, 222) from the main panel's corner.
class SummaryWindow : public QDialog, public ::oplix::SummaryView {
    Q_OBJECT
public:
    // The save dialog starts in `documentsFolder` the first time it opens.
    explicit SummaryWindow(QString documentsFolder, QWidget* parent = nullptr);

    // The path the pupil chose, UTF-8; the program writes the result there.
    void SetSaveHandler(std::function<void(const std::string&)> save) { save_ = std::move(save); }
    // Where the window tells the pupil that the name he chose is taken.
    void SetMessageBox(MessageBoxPresenter& messages) { messages_ = &messages; }
    // The main panel's top-left corner on the screen.
    void SetPlacement(std::function<QPoint()> panelOrigin) {
        panelOrigin_ = std::move(panelOrigin);
    }

    void Show(std::string_view text, bool saveOffered) override;
    // Sets the window up as Show does without waiting, for callers that run their own loop.
    void Prepare(std::string_view text, bool saveOffered);

    // Asks for a name and saves under it; a cancelled dialog does nothing, a name already taken
    // is told and asked again.
    void SaveResult();
    // The dialog SaveResult shows, made at its first use.
    QFileDialog* SaveDialog();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString documentsFolder_;
    QLabel* text_ = nullptr;
    PictureButton* saveButton_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    std::function<void(const std::string&)> save_;
    MessageBoxPresenter* messages_ = nullptr;
    std::function<QPoint()> panelOrigin_;
};

}  // namespace oplix::ui
