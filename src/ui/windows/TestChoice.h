#pragma once

#include <QObject>
#include <QRect>

#include "ui/windows/ListWindowParts.h"

class QLabel;

namespace oplix::ui {

class ListTree;
class RAMScrollBar;
class TreeSurface;

// The tests tree of a list window: its viewport with the drawing surface, the bar beside it
// and the label of the chosen test. A press on a test chooses it; a press on a group selects
// the group and keeps the test chosen before.
class TestChoice : public QObject {
    Q_OBJECT
public:
    TestChoice(QWidget* window, const QRect& viewport, const QRect& label, ListTree& tree,
               ListWindowServices& services);

    // Reads the tests list and loads the tree with this window's controls. False, after
    // telling the pupil, when the list cannot be read. A malformed line does not stop the
    // window: the tree then offers no test.
    bool Load();
    void ShowNoChoice();

private:
    void Pressed(int y);

    ListTree& tree_;
    ListWindowServices& services_;
    QWidget* viewport_ = nullptr;
    TreeSurface* surface_ = nullptr;
    QWidget* barPanel_ = nullptr;
    RAMScrollBar* bar_ = nullptr;
    QLabel* label_ = nullptr;
};

}  // namespace oplix::ui
