#pragma once

#include <QLabel>

namespace oplix::ui {

// A skin picture that acts as a button: hand cursor, a click on it is reported; a double click
// is reported as one click.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(QWidget* parent, const QRect& rectangle);

    void setPicture(const QImage& picture);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool inDoubleClick_ = false;
};

}  // namespace oplix::ui
