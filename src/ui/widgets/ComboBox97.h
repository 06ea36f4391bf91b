#pragma once

#include <QComboBox>

namespace oplix::ui {

// The flat drop-down list the list windows choose the class with: choice only, rows 13 pixels
// high. Its frame is 2 pixels of the button face with a pixel of the window colour inside;
// the drop-down button is a flat button-face area. While the mouse is over it or it has the
// focus, the frame's outer pixel is drawn sunken and the button raised (pressed while the
// list is open). Disabled, it takes its parent's colour. activated() tells the pupil's pick.
class ComboBox97 : public QComboBox {
    Q_OBJECT
public:
    ComboBox97(QWidget* parent, const QRect& rectangle);

    static constexpr int kItemHeight = 13;

    // As wide as the platform's vertical scroll bar and 2 pixels, inside the frame.
    QRect ButtonRect() const;
    bool IsHot() const { return underMouse_ || hasFocus(); }
    bool IsListOpen() const { return listOpen_; }

    void showPopup() override;
    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawArrow(QPainter& painter, const QRect& button) const;
    QColor FieldColour() const;

    bool underMouse_ = false;
    bool listOpen_ = false;
};

}  // namespace oplix::ui
