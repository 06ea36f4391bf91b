#include "ui/windows/SideWindowFrame.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "ui/widgets/ClickArea.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

constexpr int kLeftWidth = 85;
constexpr int kRightWidth = 30;
constexpr int kSideWidths = kLeftWidth + kRightWidth;
constexpr int kTopHeight = 40;
constexpr int kStripHeight = 26;
constexpr QRect kMark{5, 5, 18, 17};
// Whatever the pupil does, this much of a title strip stays on the screen to drag it back by.
constexpr int kReachable = 40;

QWidget* AddPanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

QString PictureNameOf(const char* panelName) {
    return QStringLiteral("Im") + QString::fromLatin1(panelName).mid(1);
}

}  // namespace

SideWindowFrame::SideWindowFrame(const SideFrameLooks& looks, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      bottomHeight_(looks.bottomHeight),
      centreHeightCut_(looks.centreHeightCut),
      offsetFromPanel_(looks.offsetFromPanel) {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    BuildBody(looks);
    BuildStrip(looks);
}

SideWindowFrame::EdgePiece SideWindowFrame::AddPiece(QWidget* parent, const char* name,
                                                     SkinPictureId skin, QSize size) {
    EdgePiece piece;
    piece.panel = AddPanel(parent, name);
    piece.panel->resize(size);
    piece.picture = new QLabel(piece.panel);
    piece.picture->setObjectName(PictureNameOf(name));
    piece.picture->setScaledContents(true);
    const QImage picture = LoadSkinPicture(skin);
    piece.natural = picture.isNull() ? size : picture.size();
    piece.picture->setPixmap(QPixmap::fromImage(picture));
    piece.picture->setGeometry(QRect(QPoint(0, 0), piece.natural));
    return piece;
}

// The pieces are made bottom layer first: the edges and the centre lie under the corners.
void SideWindowFrame::BuildBody(const SideFrameLooks& looks) {
    body_ = AddPanel(this, "PPodstawaBig");
    leftMiddle_ = AddPiece(body_, "PLeftMidlle", SkinPictureId::RamkaLewa, {kLeftWidth, 500});
    rightMiddle_ = AddPiece(body_, "PRightMidlle", SkinPictureId::RamkaPrawa, {kRightWidth, 500});
    centre_ = AddPanel(body_, "PCentrum");
    centre_->setAutoFillBackground(true);
    centre_->setPalette(QPalette(Qt::white));
    leftTop_ =
        AddPiece(body_, "PLeftTop", looks.leftTopPicture, {kLeftWidth, looks.leftTopHeight}).panel;
    top_ = AddPiece(body_, "PTop", SkinPictureId::RamkaGora, {600, kTopHeight});
    rightTop_ =
        AddPiece(body_, "PRightTop", SkinPictureId::RamkaPrawaGora, {kRightWidth, kTopHeight})
            .panel;
    leftBottom_ =
        AddPiece(body_, "PLeftBottom", looks.leftBottomPicture, {kLeftWidth, bottomHeight_}).panel;
    leftBottom_->findChild<QLabel*>()->setObjectName(QStringLiteral("ImLeftBotton"));
    bottom_ = AddPiece(body_, "PBottom", looks.bottomPicture, {600, bottomHeight_});
    rightBottom_ =
        AddPiece(body_, "PRightBottom", looks.rightBottomPicture, {kRightWidth, bottomHeight_})
            .panel;

    titleStrip_ = new ClickArea(top_.panel, QRect(0, 5, 0, 17));
    titleStrip_->setObjectName(QStringLiteral("LListwaTop"));
    AttachDragging(titleStrip_);
    auto* foldMark = new ClickArea(rightTop_, kMark);
    foldMark->setObjectName(QStringLiteral("LZwinOkno"));
    connect(foldMark, &ClickArea::clicked, this, [this] {
        if (marksActive_) {
            FoldClicked();
        }
    });
}

void SideWindowFrame::BuildStrip(const SideFrameLooks& looks) {
    strip_ = AddPanel(this, "PZwiniete");
    AddPiece(strip_, "PLeft", looks.stripLeftPicture, {kLeftWidth, kStripHeight});
    stripMiddle_ = AddPiece(strip_, "PMidlle", SkinPictureId::PasekSrodek, {600, kStripHeight});
    stripMiddle_.panel->move(kLeftWidth, 0);
    stripRight_ =
        AddPiece(strip_, "PRight", SkinPictureId::PasekPrawy, {kRightWidth, kStripHeight}).panel;
    stripTitle_ = new ClickArea(stripMiddle_.panel, QRect(0, 3, 0, 17));
    stripTitle_->setObjectName(QStringLiteral("LListwaNaListwie"));
    AttachDragging(stripTitle_);
    auto* unfoldMark = new ClickArea(stripRight_, kMark);
    unfoldMark->setObjectName(QStringLiteral("LRozwinOkno"));
    connect(unfoldMark, &ClickArea::clicked, this, [this] {
        if (marksActive_) {
            UnfoldClicked();
        }
    });
}

bool SideWindowFrame::BodyShown() const {
    return !body_->isHidden();
}

bool SideWindowFrame::StripShown() const {
    return !strip_->isHidden();
}

// A stretched edge picture keeps its own size until its panel outgrows it; then it is made as
// tall or as wide as the whole window.
void SideWindowFrame::FitEdge(const EdgePiece& piece, QRect rectangle, QSize window) {
    piece.panel->setGeometry(rectangle);
    const int width =
        rectangle.width() > piece.natural.width() ? window.width() : piece.natural.width();
    const int height =
        rectangle.height() > piece.natural.height() ? window.height() : piece.natural.height();
    piece.picture->resize(width, height);
}

void SideWindowFrame::LayOutStrip(int width) {
    const QSize window(width, kStripHeight);
    strip_->setGeometry(0, 0, width, kStripHeight);
    FitEdge(stripMiddle_, QRect(kLeftWidth, 0, width - kSideWidths, kStripHeight), window);
    stripRight_->move(width - kRightWidth, 0);
    stripTitle_->resize(stripMiddle_.panel->width() - 10, stripTitle_->height());
}

void SideWindowFrame::LayOutBody(int width, int height) {
    const QSize window(width, height);
    const int middle = width - kSideWidths;
    const int bottomTop = height - bottomHeight_;
    body_->setGeometry(0, 0, width, height);
    rightTop_->move(width - kRightWidth, 0);
    FitEdge(top_, QRect(kLeftWidth, 0, middle, kTopHeight), window);
    FitEdge(rightMiddle_, QRect(width - kRightWidth, kTopHeight, kRightWidth, height - 65), window);
    // The left edge ends where the bottom pieces begin.
    FitEdge(leftMiddle_, QRect(0, 185 - bottomHeight_, kLeftWidth, height - 185), window);
    leftBottom_->move(0, bottomTop);
    FitEdge(bottom_, QRect(kLeftWidth, bottomTop, middle, bottomHeight_), window);
    rightBottom_->move(width - kRightWidth, bottomTop);
    centre_->setGeometry(kLeftWidth, kTopHeight, middle, height - centreHeightCut_);
    titleStrip_->resize(top_.panel->width() - 10, titleStrip_->height());
}

void SideWindowFrame::ShowAs(QSize size) {
    resize(size);
    setMask(Shape(size));
}

void SideWindowFrame::ShowSoon() {
    showPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (showPending_) {
            show();
            raise();
        }
    });
}

void SideWindowFrame::setVisible(bool visible) {
    showPending_ = false;
    QWidget::setVisible(visible);
}

void SideWindowFrame::ShowBodyAndStrip(bool body, bool strip) {
    body_->setVisible(body);
    strip_->setVisible(strip);
}

void SideWindowFrame::RaiseStrip() {
    strip_->raise();
}

void SideWindowFrame::PlaceBesideMainWindow() {
    if (!panelOrigin_) {
        return;
    }
    const QPoint place = panelOrigin_() + offsetFromPanel_;
    move(KeptReachable(place, place));
}

void SideWindowFrame::AttachDragging(ClickArea* titleStrip) {
    connect(titleStrip, &ClickArea::pressed, this, &SideWindowFrame::StartDragging);
    connect(titleStrip, &ClickArea::moved, this, &SideWindowFrame::FollowCursor);
    connect(titleStrip, &ClickArea::released, this, [this] { dragging_ = false; });
}

void SideWindowFrame::StartDragging(QPoint cursor) {
    dragging_ = true;
    lastCursor_ = cursor;
}

void SideWindowFrame::FollowCursor(QPoint cursor) {
    if (!dragging_) {
        return;
    }
    move(KeptReachable(pos() + (cursor - lastCursor_), cursor));
    lastCursor_ = cursor;
}

// The title strips run from 85 to W - 40 across and lie within the top 26 rows.
QPoint SideWindowFrame::KeptReachable(QPoint topLeft, QPoint cursor) const {
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    if (screen == nullptr) {
        screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return topLeft;
    }
    const QRect area = screen->availableGeometry();
    QPoint kept = topLeft;
    const int stripLeft = kept.x() + kLeftWidth;
    const int stripRight = kept.x() + width() - 40;
    if (stripRight < area.left() + kReachable) {
        kept.rx() += area.left() + kReachable - stripRight;
    } else if (stripLeft > area.right() - kReachable) {
        kept.rx() -= stripLeft - (area.right() - kReachable);
    }
    kept.setY(std::clamp(kept.y(), area.top(), area.bottom() + 1 - kStripHeight));
    return kept;
}

}  // namespace oplix::ui
