#pragma once

#include <QLabel>

namespace oplix::ui {

// A menu entry's caption drawn over its panel picture: dark grey, white while highlighted,
// with the hand cursor. Tells when the mouse comes over it and when it is clicked.
class MenuCaption : public QLabel {
    Q_OBJECT
public:
    MenuCaption(QWidget* parent, const QRect& rectangle, const QString& caption);

    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }

signals:
    void clicked();
    void entered();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool highlighted_ = false;
};

}  // namespace oplix::ui
