#pragma once

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "app/CurrentChoice.h"
#include "app/ListTree.h"

namespace oplix::ui {

class RAMScrollBar;

// The picture the tests tree is drawn on, 220 x 2000 pixels inside its viewport panel. It
// reports presses of any button with their height on it, and double clicks; a double click
// is told before the press that comes with it.
class TreeSurface : public QWidget {
    Q_OBJECT
public:
    explicit TreeSurface(QWidget* viewport);

    static constexpr QSize kSize{220, 2000};

    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }

signals:
    void pressed(int y);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage canvas_;
};

// The one tests tree of the list windows: the core's tree drawn on a surface, with the scroll
// bar beside it kept in step. Each LoadTree binds the controls of the window being opened.
class ListTree {
public:
    ListTree();

    // Loads the lines, selects the first entry, draws and sets the bar up. False for an empty
    // list or a malformed line; the entries read before it are drawn, none can be chosen.
    bool LoadTree(const std::vector<std::string>& lines, TreeSurface* surface, QWidget* viewport,
                  RAMScrollBar* bar, QWidget* barPanel);
    // A press at `y` on the surface.
    void ClickTree(int y);
    // The selected test into the choice; false for a group. `listPath` is the tests list's.
    bool TakeChosenTest(const std::string& listPath, CurrentChoice& choice) const;
    void ToggleSelected();
    void ScrollTree(int position);
    void DrawTree();

    const ::oplix::ListTree& Model() const { return model_; }

private:
    void SetUpBar();
    void PlaceSurface(int position);

    ::oplix::ListTree model_;
    QImage right_;
    QImage left_;
    TreeSurface* surface_ = nullptr;
    RAMScrollBar* bar_ = nullptr;
    QWidget* barPanel_ = nullptr;
};

}  // namespace oplix::ui
