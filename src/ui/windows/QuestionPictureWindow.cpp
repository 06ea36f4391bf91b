#include "ui/windows/QuestionPictureWindow.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>

#include "storage/UPak.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

constexpr QSize kNormalSize{365, 200};
constexpr int kStripHeight = 26;
constexpr int kLargestSide = 600;
// The enlarged frame adds its pieces and the picture's 3-pixel edge around the picture.
constexpr QSize kFrameAroundPicture{121, 71};
constexpr int kPictureEdge = 3;

constexpr SideFrameLooks kLooks{SkinPictureId::GrafikaLewaGora,
                                160,
                                SkinPictureId::GrafikaLewaDol,
                                SkinPictureId::GrafikaDol,
                                SkinPictureId::GrafikaPrawaDol,
                                25,
                                65,
                                SkinPictureId::GrafikaPasekLewy,
                                QPoint(250, 25)};

QWidget* AddTool(QWidget* parent, const char* name, SkinPictureId picture, const QString& hint,
                 PictureButton** button) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("P") + QString::fromLatin1(name));
    panel->setGeometry(24, 40, 40, 45);
    panel->setToolTip(hint);
    *button = new PictureButton(panel, panel->rect());
    (*button)->setObjectName(QStringLiteral("Im") + QString::fromLatin1(name));
    (*button)->setPicture(LoadSkinPicture(picture));
    return panel;
}

}  // namespace

QuestionPictureWindow::QuestionPictureWindow(QWidget* parent) : SideWindowFrame(kLooks, parent) {
    setObjectName(QStringLiteral("TFOknoGrafiki"));
    setWindowTitle(QStringLiteral("Rysunek pytania"));
    BuildTools();
    BuildPicture();
    SetPictureState(State::Empty);
}

void QuestionPictureWindow::BuildTools() {
    PictureButton* button = nullptr;
    enlarge_ = AddTool(LeftTop(), "Powieksz", SkinPictureId::GrafikaPowieksz, QString(), &button);
    connect(button, &PictureButton::clicked, this, &QuestionPictureWindow::Enlarge);
    reduce_ = AddTool(LeftTop(), "Zmniejsz", SkinPictureId::GrafikaZmniejsz,
                      QStringLiteral("Zmień rozmiar okna"), &button);
    connect(button, &PictureButton::clicked, this, &QuestionPictureWindow::Reduce);
    auto* copy = new ClickArea(LeftTop(), QRect(29, 101, 29, 30));
    copy->setObjectName(QStringLiteral("LCopyImg"));
    copy->setToolTip(QStringLiteral("Kopiuj obraz"));
    connect(copy, &ClickArea::clicked, this, &QuestionPictureWindow::CopyPicture);
}

// The picture sits in a lowered frame that clips it; the centre clips the frame in turn.
void QuestionPictureWindow::BuildPicture() {
    auto* frame = new QFrame(Centre());
    frame->setObjectName(QStringLiteral("PPodImg"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    pictureFrame_ = frame;
    image_ = new QLabel(pictureFrame_);
    image_->setObjectName(QStringLiteral("Img"));
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_->move(kPictureEdge, kPictureEdge);
}

QRegion QuestionPictureWindow::Shape(QSize size) const {
    const int w = size.width();
    const int h = size.height();
    QRegion shape = QRegion(4, 0, w - 8, h).united(QRegion(0, 4, w, h - 8));
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(w - 8, 0), QPoint(0, h - 8), QPoint(w - 8, h - 8)}) {
        shape = shape.united(QRegion(corner.x(), corner.y(), 8, 8, QRegion::Ellipse));
    }
    return shape;
}

void QuestionPictureWindow::ShowEmpty() {
    SetPictureState(State::Empty);
    PlaceBesideMainWindow();
    ShowSoon();
}

QSize QuestionPictureWindow::SizeFor(State state) const {
    switch (state) {
        case State::Empty:
            return {kNormalSize.width(), kStripHeight};
        case State::Normal:
            return kNormalSize;
        case State::Enlarged:
            return (pictureSize_ + kFrameAroundPicture).expandedTo(kNormalSize);
        case State::Strip:
            return {size_.width(), kStripHeight};
    }
    return size_;
}

void QuestionPictureWindow::SetPictureState(State state) {
    state_ = state;
    size_ = SizeFor(state);
    enlarge_->setVisible(state == State::Normal || state == State::Strip);
    reduce_->setVisible(state == State::Enlarged);
    if (state == State::Empty) {
        loadedName_.clear();
    } else if (state != State::Strip) {
        zoomed_ = state == State::Enlarged;
    }
    SetMarksActive(state != State::Empty);
    StopDragging();
    LayOutStrip(size_.width());
    LayOutBody(size_.width(), size_.height());
    ShowAs(size_);
    // The strip state keeps the body under the strip; the shape shows only the strip.
    ShowBodyAndStrip(state != State::Empty, state == State::Empty || state == State::Strip);
    RaiseStrip();
}

void QuestionPictureWindow::Load(const TVfsPAK& archive, std::string_view member) {
    // A fresh bitmap for every picture: a bitmap picture keeps the form of the bitmap it is
    // drawn into, and the last picture's palette must not reduce its colours.
    work_ = Bitmap();
    const Result<bool> drawn = LoadPictureMember(member, work_, archive);
    if (!drawn || !*drawn) {
        work_ = Bitmap();  // nothing could be drawn: no picture rather than the one before
    }
    loadedName_ = QString::fromUtf8(member.data(), static_cast<qsizetype>(member.size()));
    picture_ = BitmapToImage(work_);
    pictureSize_ =
        QSize(std::min(work_.Width(), kLargestSide), std::min(work_.Height(), kLargestSide));
    pictureFrame_->setGeometry(QRect(QPoint(0, 0), pictureSize_ + QSize(6, 6)));
    image_->resize(pictureSize_);
    image_->setPixmap(QPixmap::fromImage(picture_));
    SetPictureState(State::Normal);
    enlarge_->setVisible(pictureSize_.width() > 0 || pictureSize_.height() > 0);
    reduce_->hide();
    SetMarksActive(true);
}

void QuestionPictureWindow::Enlarge() {
    enlarge_->hide();
    reduce_->show();
    SetPictureState(State::Enlarged);
}

void QuestionPictureWindow::Reduce() {
    size_ = kNormalSize;
    enlarge_->show();
    reduce_->hide();
    SetPictureState(State::Normal);
}

void QuestionPictureWindow::CopyPicture() const {
    if (!picture_.isNull()) {
        QGuiApplication::clipboard()->setImage(picture_);
    }
}

}  // namespace oplix::ui
