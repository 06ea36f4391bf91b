#include "ui/windows/QuestionPictureWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "storage/Bitmap.h"
#include "storage/UPak.h"

namespace oplix::ui {
namespace {

QImage ToImage(const Bitmap& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB888);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgb colour = picture.PixelRgb(x, y);
            image.setPixel(x, y, qRgb(colour.r, colour.g, colour.b));
        }
    }
    return image;
}

}  // namespace

QuestionPictureWindow::QuestionPictureWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    view_ = new QLabel(this);
    view_->setAlignment(Qt::AlignCenter);
    layout->addWidget(view_);
    resize(365, 200);
}

void QuestionPictureWindow::ShowEmpty() {
    Empty();
    show();
}

void QuestionPictureWindow::Empty() {
    picture_ = QImage();
    view_->clear();
}

void QuestionPictureWindow::Load(const TVfsPAK& archive, std::string_view member) {
    Empty();
    Bitmap picture;
    const Result<bool> loaded = LoadPictureMember(member, picture, archive);
    if (!loaded || !*loaded) {
        return;
    }
    picture_ = ToImage(picture);
    const QSize room(600, 300);
    const QImage shown = picture_.width() > room.width() || picture_.height() > room.height()
                             ? picture_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : picture_;
    view_->setPixmap(QPixmap::fromImage(shown));
    resize(std::max(365, shown.width() + 12), std::max(200, shown.height() + 12));
}

void QuestionPictureWindow::Close() {
    Empty();
    hide();
}

}  // namespace oplix::ui
