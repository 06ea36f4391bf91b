#include "ui/windows/ListTree.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {

TreeSurface::TreeSurface(QWidget* viewport)
    : QWidget(viewport), canvas_(kSize, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("ImDrzewo"));
    setGeometry(QRect(QPoint(0, 0), kSize));
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.fill(Qt::white);
}

void TreeSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_, event->rect());
}

void TreeSurface::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint().y());
}

void TreeSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    emit pressed(event->position().toPoint().y());
}

ListTree::ListTree()
    : right_(LoadSkinPicture(SkinPictureId::Right)), left_(LoadSkinPicture(SkinPictureId::Left)) {}

bool ListTree::LoadTree(const std::vector<std::string>& lines, TreeSurface* surface,
                        QWidget* viewport, RAMScrollBar* bar, QWidget* barPanel) {
    surface_ = surface;
    bar_ = bar;
    barPanel_ = barPanel;
    const bool loaded = model_.Load(lines, viewport->height());
    surface_->move(0, 0);
    DrawTree();
    SetUpBar();
    return loaded;
}

void ListTree::ClickTree(int y) {
    if (model_.Click(y)) {
        DrawTree();
    }
}

bool ListTree::TakeChosenTest(const std::string& listPath, CurrentChoice& choice) const {
    return model_.TakeChosenTest(listPath, choice);
}

void ListTree::ToggleSelected() {
    if (surface_ == nullptr) {
        return;
    }
    if (model_.Toggle()) {
        DrawTree();
        SetUpBar();
    }
    if (!barPanel_->isHidden()) {
        PlaceSurface(bar_->position());
    }
}

void ListTree::ScrollTree(int position) {
    if (surface_ != nullptr) {
        PlaceSurface(position);
    }
}

void ListTree::PlaceSurface(int position) {
    surface_->move(0, -::oplix::ListTree::kRowHeight * position);
    model_.Scroll(position);
}

void ListTree::DrawTree() {
    if (surface_ == nullptr) {
        return;
    }
    QImage& canvas = surface_->Canvas();
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    QFont font = SkinFont(8);
    for (const TreeRow& row : model_.Rows(canvas.height())) {
        const TreeEntry& entry = model_.Entries()[static_cast<std::size_t>(row.entry)];
        font.setUnderline(row.style.underlined);
        painter.setFont(font);
        painter.setPen(QColor(row.style.red, row.style.green, row.style.blue));
        if (row.arrow != TreeArrow::None) {
            painter.drawImage(QPoint(row.arrowX, row.top),
                              row.arrow == TreeArrow::Left ? left_ : right_);
        }
        painter.drawText(
            QRect(row.textX, row.top, canvas.width() - row.textX, ::oplix::ListTree::kRowHeight),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(entry.text));
    }
    surface_->update();
}

// With every row in view the bar goes and the surface returns to the top.
void ListTree::SetUpBar() {
    const TreeBarSetup setup = model_.Bar();
    if (!setup.shown) {
        barPanel_->hide();
        PlaceSurface(0);
        return;
    }
    bar_->setMax(setup.max);
    bar_->setLargeChange(setup.largeChange);
    bar_->setSmallChange(setup.smallChange);
    bar_->setSmallChangeMax(setup.smallChangeMax);
    bar_->setPosition(setup.position);
    barPanel_->show();
    PlaceSurface(bar_->position());
}

}  // namespace oplix::ui
