#pragma once

#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QWidget>
#include <functional>

#include "ui/widgets/SkinPictureId.h"

class QLabel;

namespace oplix::ui {

class ClickArea;

// The skin pieces and measures in which the text and the picture window differ.
struct SideFrameLooks {
    SkinPictureId leftTopPicture;  // 85 wide, holds the window's tools
    int leftTopHeight;
    SkinPictureId leftBottomPicture;  // the three bottom pieces, 85, stretched and 30 wide
    SkinPictureId bottomPicture;
    SkinPictureId rightBottomPicture;
    int bottomHeight;
    int centreHeightCut;  // the white centre is H minus this tall
    SkinPictureId stripLeftPicture;
    QPoint offsetFromPanel;  // where the window stands from the main panel's corner
};

// What the text and the picture window share: a frameless window that stays on top, with a
// full body of nine skin pieces around a white centre (the edges stretched) and a 26-pixel
// strip that the window folds up into, each with a title strip that drags the window. The
// fold mark sits on the body's right top piece, the unfold mark on the strip's right piece;
// both act only while the marks are active. A window W x H shows only its shape.
class SideWindowFrame : public QWidget {
    Q_OBJECT
public:
    // The main panel's top-left corner on the screen.
    void SetPlacement(std::function<QPoint()> panelOrigin) {
        panelOrigin_ = std::move(panelOrigin);
    }

    bool MarksActive() const { return marksActive_; }
    // The part of the window the pupil sees, W x H.
    QSize ShownSize() const { return size(); }
    bool BodyShown() const;
    bool StripShown() const;

    // Hiding also drops a showing still to come.
    void setVisible(bool visible) override;

protected:
    explicit SideWindowFrame(const SideFrameLooks& looks, QWidget* parent = nullptr);

    virtual void FoldClicked() = 0;
    virtual void UnfoldClicked() = 0;
    virtual QRegion Shape(QSize size) const = 0;

    void PlaceBesideMainWindow();
    // Shows and raises the window from the event loop, so that a main window painted at once
    // (the first question of a test) reaches the screen before the X work of mapping this one.
    void ShowSoon();
    void SetMarksActive(bool active) { marksActive_ = active; }
    void StopDragging() { dragging_ = false; }

    // Lays the strip out for the width.
    void LayOutStrip(int width);
    // Lays the body's pieces out for W x H.
    void LayOutBody(int width, int height);
    // The window becomes W x H with its shape.
    void ShowAs(QSize size);
    void ShowBodyAndStrip(bool body, bool strip);
    void RaiseStrip();

    QWidget* LeftTop() const { return leftTop_; }
    QWidget* Centre() const { return centre_; }
    QWidget* RightBottom() const { return rightBottom_; }

private:
    struct EdgePiece {
        QWidget* panel = nullptr;
        QLabel* picture = nullptr;
        QSize natural;
    };

    void BuildBody(const SideFrameLooks& looks);
    void BuildStrip(const SideFrameLooks& looks);
    EdgePiece AddPiece(QWidget* parent, const char* name, SkinPictureId skin, QSize size);
    void FitEdge(const EdgePiece& piece, QRect rectangle, QSize window);
    void AttachDragging(ClickArea* titleStrip);
    void StartDragging(QPoint cursor);
    void FollowCursor(QPoint cursor);
    QPoint KeptReachable(QPoint topLeft, QPoint cursor) const;

    int bottomHeight_;
    int centreHeightCut_;
    QPoint offsetFromPanel_;
    std::function<QPoint()> panelOrigin_;
    bool marksActive_ = false;
    bool dragging_ = false;
    bool showPending_ = false;
    QPoint lastCursor_;

    QWidget* body_ = nullptr;
    QWidget* leftTop_ = nullptr;
    EdgePiece top_;
    QWidget* rightTop_ = nullptr;
    EdgePiece leftMiddle_;
    QWidget* centre_ = nullptr;
    EdgePiece rightMiddle_;
    QWidget* leftBottom_ = nullptr;
    EdgePiece bottom_;
    QWidget* rightBottom_ = nullptr;
    ClickArea* titleStrip_ = nullptr;

    QWidget* strip_ = nullptr;
    EdgePiece stripMiddle_;
    QWidget* stripRight_ = nullptr;
    ClickArea* stripTitle_ = nullptr;
};

}  // namespace oplix::ui
