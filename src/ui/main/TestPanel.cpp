#include "ui/main/TestPanel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "testing/TestSession.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PaintWarmUp.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/ProgressCyl.h"
#include "ui/widgets/RAMScrollBar.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/TextBox.h"
#include "ui/widgets/WrappedTextView.h"

namespace oplix::ui {
namespace {

constexpr int kSlots = 5;
constexpr int kStates = 4;
constexpr int kSmallCell = 25;
constexpr int kBigCell = 35;
constexpr int kNumberWidth = 25;
constexpr int kStripHeight = 1500;
constexpr QSize kListPictureSize{165, 1525};
constexpr QPoint kListPanelAt{40, 258};
constexpr int kListPanelWidth = 140;
constexpr int kListMaxHeight = 258;  // ten rows, the last two pixels short
constexpr int kScrollGap = 5;        // between the list panel and the scroll bar's panel
constexpr int kScrollWidth = 16;
constexpr int kNumberX = 2;
constexpr int kAnswerTops[kSlots] = {313, 353, 393, 433, 473};
constexpr int kLabelTops[kSlots] = {322, 362, 402, 442, 482};

// An empty picture of the strip's size with the named skin picture drawn into its top-left
// corner; a missing skin picture leaves it white.
QImage MakeStrip(SkinPictureId skin, QSize size) {
    QImage strip(size, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.drawImage(0, 0, LoadSkinPicture(skin));
    return strip;
}

// The letter cells of a strip of 5 columns (slots) by 4 rows (states).
std::array<std::array<QImage, kStates>, kSlots> CutLetterCells(const QImage& strip, int cell) {
    std::array<std::array<QImage, kStates>, kSlots> cells;
    for (int slot = 0; slot < kSlots; ++slot) {
        for (int state = 0; state < kStates; ++state) {
            cells[slot][state] = strip.copy(slot * cell, state * cell, cell, cell);
        }
    }
    return cells;
}

std::vector<QImage> CutNumberCells(const QImage& strip) {
    std::vector<QImage> cells;
    for (int top = 0; top + TestPanel::kRowHeight <= strip.height(); top += TestPanel::kRowHeight) {
        cells.push_back(strip.copy(0, top, kNumberWidth, TestPanel::kRowHeight));
    }
    return cells;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* AddText(QWidget* parent, const QRect& rectangle, const QFont& font, const QColor& colour) {
    auto* text = new QLabel(parent);
    text->setGeometry(rectangle);
    text->setFont(font);
    SetTextColour(text, colour);
    return text;
}

QLabel* AddPicture(QWidget* parent, const QRect& rectangle, SkinPictureId skin) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(rectangle);
    picture->setPixmap(QPixmap::fromImage(LoadSkinPicture(skin)));
    return picture;
}

// Where question q's row starts in the list picture.
int RowTop(int question) {
    return TestPanel::kRowHeight * (question - 1);
}

int LetterX(int slot) {
    return TestPanel::kRowHeight * slot + 8;
}

bool IsListedQuestion(int question) {
    return question >= 1 && question <= kMaxQuestions;
}

}  // namespace

// Every picture the panel copies cells from, decoded once.
struct TestPanel::Strips {
    Strips()
        : numbersStrip(MakeStrip(SkinPictureId::Numery, {kNumberWidth, kStripHeight})),
          listBackground(MakeStrip(SkinPictureId::TloListy, {175, kStripHeight})),
          smallLetters(
              CutLetterCells(MakeStrip(SkinPictureId::LiteryMale, {125, 100}), kSmallCell)),
          bigLetters(CutLetterCells(MakeStrip(SkinPictureId::LiteryDuze, {175, 140}), kBigCell)),
          whiteNumbers(
              CutNumberCells(MakeStrip(SkinPictureId::NumeryBiale, {kNumberWidth, kStripHeight}))) {
    }

    const QImage& SmallLetter(int slot, LetterState state) const {
        return smallLetters[slot - 1][static_cast<int>(state)];
    }
    const QImage& BigLetter(int slot, LetterState state) const {
        return bigLetters[slot - 1][static_cast<int>(state)];
    }
    bool HasNumber(int question) const {
        return question >= 1 && question <= static_cast<int>(whiteNumbers.size());
    }
    const QImage& WhiteNumber(int question) const { return whiteNumbers[question - 1]; }

    QImage numbersStrip;
    QImage listBackground;
    std::array<std::array<QImage, kStates>, kSlots> smallLetters;
    std::array<std::array<QImage, kStates>, kSlots> bigLetters;
    std::vector<QImage> whiteNumbers;
};

// The list picture inside its clipping panel, painted where it shows; a press reports its
// row's y in the picture.
class TestPanel::ListView : public QWidget {
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;

    ListView(QWidget* parent, Painter paint, std::function<void(int)> pressedAt)
        : QWidget(parent), paint_(std::move(paint)), pressedAt_(std::move(pressedAt)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(kListPictureSize);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        paint_(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            pressedAt_(static_cast<int>(event->position().y()));
        }
    }

private:
    Painter paint_;
    std::function<void(int)> pressedAt_;
};

TestPanel::TestPanel(QWidget* parent) : QWidget(parent), strips_(std::make_unique<Strips>()) {
    setObjectName(QStringLiteral("PTest"));
    setFixedSize(790, 581);
    whiteNumbers_.assign(strips_->whiteNumbers.size(), false);
    Build();
}

TestPanel::~TestPanel() = default;

template <typename Action>
void TestPanel::Forward(Action action) {
    if (session_ != nullptr) {
        action(*session_);
    }
}

void TestPanel::Build() {
    BuildBackground();
    BuildQuestionAndAnswers();
    BuildList();
    BuildStatusParts();
    BuildHintParts();
}

void TestPanel::BuildBackground() {
    // The panel paints its picture itself and covers all it is laid over, so a repaint need
    // not paint the main panel under it first.
    background_ = QPixmap::fromImage(LoadSkinPicture(SkinPictureId::OknoTestu));
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* background = new ClickArea(this, rect());
    background->setObjectName(QStringLiteral("ImTloTest"));
    background->setCursor(Qt::ArrowCursor);
    connect(background, &ClickArea::clicked, this,
            [this] { Forward([](TestSession& session) { session.HideHint(); }); });

    titleStrip_ = new ClickArea(this, QRect(128, 32, 609, 16));
    titleStrip_->setObjectName(QStringLiteral("LListwa2"));
    titleStrip_->setCursor(Qt::ArrowCursor);
    AddText(titleStrip_, titleStrip_->rect(), SkinFont(8, true), DarkGrey())
        ->setAlignment(Qt::AlignCenter);
}

void TestPanel::BuildQuestionAndAnswers() {
    question_ = new TextBox(this);
    question_->setObjectName(QStringLiteral("LPytanie"));
    question_->setGeometry(273, 171, 441, 63);
    question_->setFont(SkinFont(8));
    SetTextColour(question_, DarkGrey());
    question_->view()->installEventFilter(this);

    for (int slot = 1; slot <= kSlots; ++slot) {
        const std::size_t index = static_cast<std::size_t>(slot - 1);
        auto* button = new PictureButton(this, QRect(280, kAnswerTops[index], 35, 35));
        button->setObjectName(QStringLiteral("ImOdp%1").arg(slot));
        connect(button, &PictureButton::clicked, this, [this, slot] {
            Forward([slot](TestSession& session) { session.MarkAnswer(slot); });
        });
        answerButtons_[index] = button;
        QLabel* label =
            AddText(this, QRect(328, kLabelTops[index], 355, 25), SkinFont(8), DarkGrey());
        label->setObjectName(QStringLiteral("LOdp%1").arg(slot));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        answerLabels_[index] = label;
    }
    SetAnswerButtons(std::array<LetterState, kSlots>{});
    answerButtons_[4]->hide();
    answerLabels_[4]->hide();

    severalAnswers_ = AddPicture(this, QRect(263, 273, 319, 15), SkinPictureId::PasekWieleOdp);
    severalAnswers_->setObjectName(QStringLiteral("ImPasekWieleOdp"));
    severalAnswers_->hide();
}

void TestPanel::BuildList() {
    listPanel_ = new QWidget(this);
    listPanel_->setObjectName(QStringLiteral("PPodListe"));
    listPanel_->setGeometry(QRect(kListPanelAt, QSize(kListPanelWidth, 0)));
    listPanel_->setAutoFillBackground(true);
    listPanel_->setPalette(QPalette(Qt::white));
    list_ = new ListView(
        listPanel_, [this](QPainter& painter, const QRect& area) { PaintList(painter, area); },
        [this](int y) { ClickInList(y); });
    list_->setObjectName(QStringLiteral("ImLista"));

    scrollPanel_ = new QWidget(this);
    scrollPanel_->setObjectName(QStringLiteral("PPodListwe"));
    scrollPanel_->setGeometry(185, 258, kScrollWidth, kListMaxHeight);
    scrollPanel_->setAutoFillBackground(true);
    scrollPanel_->setPalette(QPalette(Qt::white));
    scrollBar_ = new RAMScrollBar(scrollPanel_);
    scrollBar_->setObjectName(QStringLiteral("ListwaV"));
    scrollBar_->setGeometry(scrollPanel_->rect());
    connect(scrollBar_, &RAMScrollBar::changed, this, &TestPanel::ScrollList);
    scrollPanel_->hide();
}

void TestPanel::BuildHintParts() {
    hintButton_ = new PictureButton(this, QRect(256, 509, 112, 36));
    hintButton_->setObjectName(QStringLiteral("ImPodpowiedz"));
    hintButton_->setPicture(LoadSkinPicture(SkinPictureId::Podpowiedz));
    connect(hintButton_, &PictureButton::clicked, this,
            [this] { Forward([](TestSession& session) { session.ToggleHint(); }); });
    hintButton_->hide();

    gradeButton_ = new PictureButton(this, QRect(515, 505, 102, 36));
    gradeButton_->setObjectName(QStringLiteral("ImOcen"));
    gradeButton_->setPicture(LoadSkinPicture(SkinPictureId::Ocen));
    connect(gradeButton_, &PictureButton::clicked, this,
            [this] { Forward([](TestSession& session) { session.FinishTest(); }); });
    gradeButton_->hide();

    const auto hideHint = [this] { Forward([](TestSession& session) { session.HideHint(); }); };
    hintPanel_ = new QWidget(this);
    hintPanel_->setObjectName(QStringLiteral("ptekstPodpowiedzi"));
    hintPanel_->setGeometry(372, 489, 386, 60);
    AddPicture(hintPanel_, hintPanel_->rect(), SkinPictureId::OknoPodpowiedzi);
    auto* textArea = new ClickArea(hintPanel_, QRect(16, 16, 329, 30));
    textArea->setObjectName(QStringLiteral("LtrescPodpowiedzi"));
    textArea->setCursor(Qt::ArrowCursor);
    hintText_ = AddText(textArea, textArea->rect(), SkinFont(8), DarkGrey());
    hintText_->setWordWrap(true);
    hintText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(textArea, &ClickArea::clicked, this, hideHint);
    auto* closeMark = new ClickArea(hintPanel_, QRect(357, 13, 17, 16));
    closeMark->setObjectName(QStringLiteral("lClosePodpowiedz"));
    connect(closeMark, &ClickArea::clicked, this, hideHint);
    hintPanel_->hide();
}

void TestPanel::BuildStatusParts() {
    gauge_ = new ProgressCyl(this);
    gauge_->setObjectName(QStringLiteral("Progress"));
    gauge_->setGeometry(12, 432, 12, 113);
    gauge_->hide();

    statusLine_ = AddText(this, QRect(40, 554, 714, 13), SkinFont(6), Qt::white);
    statusLine_->setObjectName(QStringLiteral("LAutorTestu"));
    statusLine_->setAlignment(Qt::AlignCenter);

    auto* leave = new ClickArea(this, QRect(640, 513, 91, 27));
    leave->setObjectName(QStringLiteral("LZrezygnuj"));
    connect(leave, &ClickArea::clicked, this,
            [this] { Forward([](TestSession& session) { session.LeaveTest(); }); });

    focusButton_ = new QPushButton(this);
    focusButton_->setObjectName(QStringLiteral("BFocus"));
    focusButton_->setGeometry(-200, 0, 75, 25);
    focusButton_->setFocusPolicy(Qt::StrongFocus);
}

void TestPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (background_.isNull()) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    // A rectangle at a time, each its own clip: a plain copy, where one pass clipped to the
    // whole region (the panel less its opaque children) would blend the picture row by row.
    for (const QRect& area : event->region()) {
        painter.setClipRect(area);
        painter.drawPixmap(area.topLeft(), background_, area);
    }
}

void TestPanel::WarmUp() {
    WarmUpPainting(*this, {SkinFont(8), SkinFont(8, true), SkinFont(6)});
}

// A click on the question text sends the focus away, so no caret or selection shows in it.
bool TestPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == question_->view() && (event->type() == QEvent::MouseButtonPress ||
                                         event->type() == QEvent::MouseButtonDblClick)) {
        focusButton_->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The list picture is the background strip with the numbers strip over it, and over them the
// cells copied since: white numbers and the letters of every listed question. It is painted
// from what was copied, only where it shows, rather than kept as a 165 x 1525 picture that a
// new test would have to redraw whole.
void TestPanel::PaintList(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, Qt::white);
    painter.drawImage(area.topLeft(), strips_->listBackground, area);
    painter.drawImage(area.topLeft(), strips_->numbersStrip, area.translated(-kNumberX, 0));
    const int firstRow = std::max(area.top() / kRowHeight, 0);
    const int lastRow = area.bottom() / kRowHeight;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int question = row + 1;
        if (static_cast<std::size_t>(row) < whiteNumbers_.size() &&
            whiteNumbers_[static_cast<std::size_t>(row)]) {
            painter.drawImage(QPoint(kNumberX, RowTop(question)), strips_->WhiteNumber(question));
        }
        if (!IsListedQuestion(question)) {
            continue;
        }
        for (int slot = 1; slot <= kSlots; ++slot) {
            const std::optional<LetterState>& cell =
                rowCells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(slot - 1)];
            if (cell) {
                painter.drawImage(QPoint(LetterX(slot), RowTop(question) + 1),
                                  strips_->SmallLetter(slot, *cell));
            }
        }
    }
}

QImage TestPanel::ListPicture() const {
    QImage picture(kListPictureSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    PaintList(painter, picture.rect());
    return picture;
}

void TestPanel::DrawQuestionList(int questionCount, int answerCount) {
    const int questions = std::clamp(questionCount, 0, kMaxQuestions);
    const int answers = std::clamp(answerCount, 0, kSlots);
    rowCells_ = {};
    for (int row = 0; row < questions; ++row) {
        std::fill_n(rowCells_[static_cast<std::size_t>(row)].begin(), answers, LetterState::Plain);
    }
    std::fill(whiteNumbers_.begin(), whiteNumbers_.end(), false);
    list_->update();
    FitListWidth(answers);
    listPanel_->resize(listPanel_->width(), std::min(kRowHeight * questions, kListMaxHeight));
    if (questions <= kRowsInView) {
        scrollPanel_->hide();
    } else {
        scrollBar_->setMax(questions - kRowsInView);
        scrollBar_->setLargeChange(kRowsInView - 1);
        scrollBar_->setPosition(0);
        scrollPanel_->show();
    }
    list_->move(0, 0);
}

// The fifth letter column starts at x = 138: a five-answer test gets a list wide enough for
// it, with the scroll bar moved to its right.
void TestPanel::FitListWidth(int answerCount) {
    const int width = answerCount >= kSlots ? kListPictureSize.width() : kListPanelWidth;
    listPanel_->resize(width, listPanel_->height());
    scrollPanel_->move(kListPanelAt.x() + width + kScrollGap, kListPanelAt.y());
}

void TestPanel::DrawQuestionRow(int question, std::span<const LetterState> states) {
    if (!IsListedQuestion(question)) {
        return;
    }
    const std::size_t count = std::min<std::size_t>(states.size(), kSlots);
    std::copy_n(states.begin(), count, rowCells_[static_cast<std::size_t>(question - 1)].begin());
    list_->update(QRect(LetterX(1), RowTop(question) + 1, LetterX(kSlots) + kSmallCell - LetterX(1),
                        kSmallCell));
}

void TestPanel::DrawQuestionNumber(int question, bool highlighted) {
    if (strips_->HasNumber(question)) {
        whiteNumbers_[static_cast<std::size_t>(question - 1)] = highlighted;
        list_->update(QRect(kNumberX, RowTop(question), kNumberWidth, kRowHeight));
    }
}

void TestPanel::SetAnswerButtons(std::span<const LetterState> states) {
    const std::size_t count = std::min<std::size_t>(states.size(), kSlots);
    for (std::size_t index = 0; index < count; ++index) {
        answerButtons_[index]->setPicture(
            strips_->BigLetter(static_cast<int>(index) + 1, states[index]));
        buttonStates_[index] = states[index];
    }
}

void TestPanel::ShowQuestion(std::string_view text, std::span<const std::string> slotTexts) {
    question_->setPlainText(FromUtf8(text));
    for (std::size_t index = 0; index < kSlots; ++index) {
        const bool shown = index < slotTexts.size();
        answerLabels_[index]->setText(shown ? FromUtf8(slotTexts[index]) : QString());
        answerLabels_[index]->setVisible(shown);
        answerButtons_[index]->setVisible(shown);
    }
}

void TestPanel::ShowHintButton(bool shown) {
    hintButton_->setVisible(shown);
}

void TestPanel::ShowHintPanel(std::string_view hint) {
    hintText_->setText(FromUtf8(hint));
    hintPanel_->show();
    hintPanel_->raise();
}

void TestPanel::HideHintPanel() {
    hintPanel_->hide();
}

void TestPanel::ShowGradeButton(bool shown) {
    gradeButton_->setVisible(shown);
}

void TestPanel::ShowSeveralAnswersStrip(bool shown) {
    severalAnswers_->setVisible(shown);
}

void TestPanel::ResetGauge(int maximumMinutes) {
    gauge_->setMax(maximumMinutes);
    gauge_->setPosition(0);
    gauge_->setForeColor(Qt::white);
}

void TestPanel::SetGaugePosition(int minutes) {
    gauge_->setPosition(minutes);
}

void TestPanel::SetGaugeHint(std::string_view hint) {
    gauge_->setHint(FromUtf8(hint));
}

void TestPanel::ShowGauge(bool shown) {
    gauge_->setVisible(shown);
}

void TestPanel::SetStatusLine(std::string_view text) {
    statusLine_->setText(FromUtf8(text));
}

void TestPanel::ShowPanel(bool shown) {
    setVisible(shown);
    if (shown) {
        raise();
    }
}

void TestPanel::FocusPanel() {
    focusButton_->setFocus();
}

void TestPanel::ScrollList(int position) {
    list_->move(0, -kRowHeight * position);
}

void TestPanel::ClickInList(int y) {
    const int question = y / kRowHeight + 1;
    Forward([question](TestSession& session) { session.SelectQuestion(question); });
}

LetterState TestPanel::RowState(int question, int slot) const {
    if (!IsListedQuestion(question) || slot < 1 || slot > kSlots) {
        return LetterState::Plain;
    }
    return rowCells_[static_cast<std::size_t>(question - 1)][static_cast<std::size_t>(slot - 1)]
        .value_or(LetterState::Plain);
}

LetterState TestPanel::ButtonState(int slot) const {
    return slot >= 1 && slot <= kSlots ? buttonStates_[static_cast<std::size_t>(slot - 1)]
                                       : LetterState::Plain;
}

}  // namespace oplix::ui
