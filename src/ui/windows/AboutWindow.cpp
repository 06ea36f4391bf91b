#include "ui/windows/AboutWindow.h"

#include <QLabel>
#include <QPolygon>
#include <QRegion>

#include "ui/widgets/ClickArea.h"
#include "ui/widgets/ReachablePlacement.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

constexpr QPoint kOffsetFromPanel{320, 210};

// The 366 x 239 rectangle with its corners cut by 4 pixels.
QRegion OctagonShape() {
    const QPolygon octagon({QPoint(362, 0), QPoint(366, 4), QPoint(366, 235), QPoint(362, 239),
                            QPoint(4, 239), QPoint(0, 235), QPoint(0, 4), QPoint(4, 0)});
    return QRegion(octagon);
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFWinieta"));
    setModal(true);
    setFixedSize(366, 239);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(rect());
    picture->setPixmap(QPixmap::fromImage(LoadSkinPicture(SkinPictureId::Winieta)));
    auto* closeMark = new ClickArea(this, QRect(322, 20, 25, 17));
    closeMark->setObjectName(QStringLiteral("LCloseWinieta"));
    connect(closeMark, &ClickArea::clicked, this, &QDialog::accept);
    setMask(OctagonShape());
}

void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (panelOrigin_) {
        MoveWithinWorkArea(*this, panelOrigin_() + kOffsetFromPanel);
    }
}

}  // namespace oplix::ui
