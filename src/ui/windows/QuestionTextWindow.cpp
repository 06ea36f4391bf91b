#include "ui/windows/QuestionTextWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPolygon>
#include <algorithm>
#include <vector>

#include "storage/UPak.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/WrappedTextView.h"

namespace oplix::ui {
namespace {

constexpr int kWidth = 465;
constexpr int kLowestHeight = 250;
constexpr int kStripHeight = 26;
constexpr int kSmallestFont = 8;
constexpr int kLargestFont = 11;
constexpr int kShownFont = 9;

constexpr SideFrameLooks kLooks{SkinPictureId::TekstLewaGora,
                                200,
                                SkinPictureId::TekstLewaDol,
                                SkinPictureId::TekstDol,
                                SkinPictureId::TekstPrawaDol,
                                29,
                                60,
                                SkinPictureId::TekstPasekLewy,
                                QPoint(250, 55)};

// A tool on the left top piece: a panel holding its picture, the hint on the panel.
QWidget* AddTool(QWidget* parent, const QRect& rectangle, const char* name, SkinPictureId picture,
                 const QString& hint, PictureButton** button) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("P") + QString::fromLatin1(name));
    panel->setGeometry(rectangle);
    panel->setToolTip(hint);
    *button = new PictureButton(panel, panel->rect());
    (*button)->setObjectName(QStringLiteral("Im") + QString::fromLatin1(name));
    (*button)->setPicture(LoadSkinPicture(picture));
    return panel;
}

QStringList ToParagraphs(const std::vector<std::string>& lines) {
    QStringList paragraphs;
    for (const std::string& line : lines) {
        paragraphs.push_back(QString::fromStdString(line));
    }
    return paragraphs;
}

}  // namespace

QuestionTextWindow::QuestionTextWindow(QWidget* parent) : SideWindowFrame(kLooks, parent) {
    setObjectName(QStringLiteral("TFOknoTekstu"));
    setWindowTitle(QStringLiteral("Tekst pytania"));
    BuildTools();
    BuildText();
    ApplyFont();
    Reset();
}

void QuestionTextWindow::BuildTools() {
    PictureButton* button = nullptr;
    smaller_ = AddTool(LeftTop(), QRect(23, 40, 40, 45), "Zmniejsz", SkinPictureId::TekstZmniejsz,
                       QStringLiteral("Zmniejsz rozmiar czcionki"), &button);
    connect(button, &PictureButton::clicked, this, &QuestionTextWindow::MakeFontSmaller);
    larger_ = AddTool(LeftTop(), QRect(23, 90, 40, 45), "Zwieksz", SkinPictureId::TekstZwieksz,
                      QStringLiteral("Zwiększ rozmiar czcionki"), &button);
    connect(button, &PictureButton::clicked, this, &QuestionTextWindow::MakeFontLarger);
    auto* copy = new ClickArea(LeftTop(), QRect(28, 148, 29, 30));
    copy->setObjectName(QStringLiteral("LCopyTekst"));
    copy->setToolTip(QStringLiteral("Kopiuj tekst"));
    connect(copy, &ClickArea::clicked, this, &QuestionTextWindow::CopyText);

    auto* grip = new ClickArea(RightBottom(), QRect(12, 10, 13, 14));
    grip->setObjectName(QStringLiteral("LCiongnijOkno"));
    connect(grip, &ClickArea::pressed, this, &QuestionTextWindow::StartResizing);
    connect(grip, &ClickArea::moved, this, [this](QPoint cursor) { frame_.TrackCursor(cursor); });
    connect(grip, &ClickArea::released, this, &QuestionTextWindow::EndResizing);
}

// The text view has no scroll bar of its own: it is as wide as its panel shows it, and the
// skinned bar beside it scrolls it.
void QuestionTextWindow::BuildText() {
    textPanel_ = new QWidget(Centre());
    textPanel_->setObjectName(QStringLiteral("PPodTxt"));
    textPanel_->setAutoFillBackground(true);
    textPanel_->setPalette(QPalette(Qt::white));
    textPanel_->setGeometry(0, 0, 329, kLowestHeight - 65);
    text_ = new WrappedTextView(textPanel_);
    text_->setObjectName(QStringLiteral("Mtekst"));
    barPanel_ = new QWidget(Centre());
    barPanel_->setObjectName(QStringLiteral("PPodListwe"));
    bar_ = new RAMScrollBar(barPanel_);
    bar_->setObjectName(QStringLiteral("ListwaV"));
    bar_->setSmallChangeMax(5);
    barPanel_->hide();

    connect(bar_, &RAMScrollBar::changed, text_, &WrappedTextView::scrollToLine);
    connect(text_, &WrappedTextView::firstVisibleLineChanged, bar_, &RAMScrollBar::setPosition);
    connect(text_, &WrappedTextView::wheelScrolled, this, [this](int lines) {
        if (!barPanel_->isHidden()) {
            bar_->setPosition(bar_->position() + lines);
        }
    });
}

QRegion QuestionTextWindow::Shape(QSize size) const {
    const int w = size.width();
    const int h = size.height();
    return QRegion(QPolygon({QPoint(w - 4, 0), QPoint(w, 4), QPoint(w, h - 4), QPoint(w - 4, h),
                             QPoint(4, h), QPoint(0, h - 4), QPoint(0, 4), QPoint(4, 0)}));
}

// The showing at the start of a test. Both font tools come back, since the size is 9 again.
void QuestionTextWindow::ShowEmpty() {
    height_ = kLowestHeight;
    Reset();
    PlaceBesideMainWindow();
    StopDragging();
    SetMarksActive(true);
    fontSize_ = kShownFont;
    ApplyFont();
    linesPerPage_ = 10;
    smaller_->show();
    larger_->show();
    ShowSoon();
}

void QuestionTextWindow::Empty() {
    Reset();
}

void QuestionTextWindow::Load(const TVfsPAK& archive, std::string_view member) {
    std::vector<std::string> lines;
    loadedText_ = LoadTextMember(member, lines, archive) ? ToParagraphs(lines) : QStringList();
    loadedName_ = QString::fromUtf8(member.data(), static_cast<qsizetype>(member.size()));
    height_ = kLowestHeight;
    text_->setParagraphs(loadedText_);
    Expand();
}

void QuestionTextWindow::Close() {
    if (frame_.isTracking()) {
        frame_.EndTracking();
    }
    hide();
}

QString QuestionTextWindow::ShownText() const {
    return text_->text();
}

void QuestionTextWindow::Reset() {
    LayOutStrip(kWidth);
    ShowAs(QSize(kWidth, kStripHeight));
    ShowBodyAndStrip(false, true);
    loadedName_.clear();
    SetMarksActive(false);
}

void QuestionTextWindow::Expand() {
    height_ = std::max(height_, kLowestHeight);
    LayOutBody(kWidth, height_);
    ShowAs(QSize(kWidth, height_));
    textPanel_->resize(textPanel_->width(), height_ - 65);
    text_->setGeometry(3, 4, textPanel_->width() - 3, textPanel_->height() - 5);
    barPanel_->setGeometry(332, 0, 16, text_->height() - 10);
    bar_->setGeometry(barPanel_->rect());
    ShowBodyAndStrip(true, false);
    SetUpScrollBar();
    SetMarksActive(true);
}

// The text stays loaded.
void QuestionTextWindow::Collapse() {
    LayOutStrip(kWidth);
    ShowAs(QSize(kWidth, kStripHeight));
    ShowBodyAndStrip(false, true);
}

void QuestionTextWindow::ApplyFont() {
    text_->setFont(SkinFont(fontSize_));
}

// A new font shows the text again from its first line.
void QuestionTextWindow::Refill() {
    text_->clear();
    ApplyFont();
    text_->setParagraphs(loadedText_);
    SetUpScrollBar();
}

void QuestionTextWindow::SetUpScrollBar() {
    linesPerPage_ = textPanel_->height() / text_->lineHeight();
    const int lines = text_->lineCount();
    if (linesPerPage_ >= lines) {
        barPanel_->hide();
        return;
    }
    bar_->setMax(lines - linesPerPage_);
    bar_->setLargeChange(linesPerPage_ - 1);
    bar_->setSmallChange(linesPerPage_ - 2);
    bar_->setPosition(text_->firstVisibleLine());
    barPanel_->show();
}

void QuestionTextWindow::MakeFontSmaller() {
    if (fontSize_ <= kSmallestFont) {
        return;
    }
    --fontSize_;
    Refill();
    larger_->show();
    smaller_->setVisible(fontSize_ > kSmallestFont);
}

void QuestionTextWindow::MakeFontLarger() {
    if (fontSize_ >= kLargestFont) {
        return;
    }
    ++fontSize_;
    Refill();
    smaller_->show();
    larger_->setVisible(fontSize_ < kLargestFont);
}

void QuestionTextWindow::CopyText() const {
    QGuiApplication::clipboard()->setText(text_->text());
}

// The frame runs from the window's top-left corner to the cursor.
void QuestionTextWindow::StartResizing(QPoint cursor) {
    frame_.BeginTracking(cursor);
    frame_.setLeft(pos().x());
    frame_.setTop(pos().y());
}

// Only the height changes; a height below the lowest becomes the lowest.
void QuestionTextWindow::EndResizing() {
    if (!frame_.isTracking()) {
        return;
    }
    frame_.EndTracking();
    height_ = frame_.frameRect().bottom - frame_.frameRect().top;
    Expand();
}

}  // namespace oplix::ui
