#pragma once

#include <QObject>
#include <QRect>

#include "ui/windows/ListWindowParts.h"

class QLabel;
class QListWidget;

namespace oplix::ui {

class ComboBox97;
class RAMScrollBar;

// Where a window puts its pupil choice, and how many pupils its bar counts as in view.
struct PupilChoiceLayout {
    QRect listPanel;  // clips the list, whose own scroll bar lies outside it
    QRect list;       // inside the panel
    QRect barPanel;
    QRect label;
    int rowsInView = 0;
};

// The class chooser, the pupil list with the bar beside it and the label of the chosen pupil,
// in a list window. Highlighting a pupil is not choosing him: only a click on the list or a
// change of its line from the keyboard chooses. Showing another class changes only the list
// shown: a chosen pupil keeps his own class and index in the choice.
class PupilChoice : public QObject {
    Q_OBJECT
public:
    PupilChoice(QWidget* window, const PupilChoiceLayout& layout, ListWindowServices& services);

    // The classes of the students list into the chooser, the first class's pupils into the
    // list, the first one highlighted.
    void Fill();
    void SetLabel(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPupilList();
    void SetUpBar(int pupils);
    void ClassChanged(int index);
    void PupilSelected(int row);
    const ClassRecord* ShownClass() const;
    bool PupilChosen() const;

    ListWindowServices& services_;
    int rowsInView_;
    int shownClass_ = -1;
    ComboBox97* classes_ = nullptr;
    QListWidget* list_ = nullptr;
    QWidget* barPanel_ = nullptr;
    RAMScrollBar* bar_ = nullptr;
    QLabel* label_ = nullptr;
};

}  // namespace oplix::ui
