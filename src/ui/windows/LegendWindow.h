#pragma once

#include <QWidget>
#include <string>

#include "testing/LegendView.h"

class QCheckBox;

namespace oplix {
class Journal;
struct Settings;
}  // namespace oplix

namespace oplix::ui {

// The floating window that explains, after grading, what the four letter colours mean. Its
// check box lets the pupil switch it off for later tests when the settings allow it (`chl`);
// the choice is stored as `opl` when the window is closed by its close mark.
class LegendWindow : public QWidget, public ::oplix::LegendView {
    Q_OBJECT
public:
    static constexpr QPoint kScreenPosition{120, 100};

    LegendWindow(Settings& settings, std::string settingsPath, Journal& journal,
                 QWidget* parent = nullptr);

    // At (120, 100) on the screen, whatever place it was dragged to; not modal.
    void Show() override;
    void Hide() override;
    void Close() override;

    // The close mark: hides the window, then stores the check box's choice if it was touched.
    void CloseByMark();
    QCheckBox* CheckBox() const { return checkBox_; }

private:
    void Build();

    Settings& settings_;
    std::string settingsPath_;
    Journal& journal_;
    QCheckBox* checkBox_ = nullptr;
    // Raised by the first click on the check box, for the rest of the run.
    bool checkBoxClicked_ = false;
};

}  // namespace oplix::ui
