#include "ui/windows/MessageBoxWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <optional>

#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/WindowDragger.h"

namespace oplix::ui {
namespace {

// The box speaks Polish; the other set of pictures and letters is kept for another language.
constexpr bool kPolish = true;

// A button's picture and its highlighted picture, in each language.
struct ButtonPictures {
    SkinPictureId plain;
    SkinPictureId highlighted;
};

struct ButtonLook {
    ButtonPictures polish;
    ButtonPictures other;
    Qt::Key polishLetter;
    Qt::Key otherLetter;
    QRect rectangle;
    MessageBoxResult answer;
};

constexpr std::array<ButtonLook, 4> kButtons = {{
    {{SkinPictureId::ButTak, SkinPictureId::ButTakAkt},
     {SkinPictureId::ButYes, SkinPictureId::ButYesAkt},
     Qt::Key_T,
     Qt::Key_Y,
     QRect(63, 116, 88, 26),
     MessageBoxResult::Yes},
    {{SkinPictureId::ButNie, SkinPictureId::ButNieAkt},
     {SkinPictureId::ButNo, SkinPictureId::ButNoAkt},
     Qt::Key_N,
     Qt::Key_N,
     QRect(156, 116, 88, 26),
     MessageBoxResult::No},
    {{SkinPictureId::ButAnuluj, SkinPictureId::ButAnulujAkt},
     {SkinPictureId::ButCancel, SkinPictureId::ButCancelAkt},
     Qt::Key_A,
     Qt::Key_C,
     QRect(248, 116, 88, 26),
     MessageBoxResult::Cancel},
    {{SkinPictureId::ButZamknij, SkinPictureId::ButZamknijAkt},
     {SkinPictureId::ButClose, SkinPictureId::ButCloseAkt},
     Qt::Key_Z,
     Qt::Key_C,
     QRect(190, 116, 88, 26),
     MessageBoxResult::Closed},
}};

SkinPictureId ButtonPicture(const ButtonLook& look, bool highlighted) {
    const ButtonPictures& pictures = kPolish ? look.polish : look.other;
    return highlighted ? pictures.highlighted : pictures.plain;
}

std::optional<SkinPictureId> IconPicture(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return SkinPictureId::IkoInfo;
        case MessageIcon::Question:
            return SkinPictureId::IkoPytanie;
        case MessageIcon::Warning:
            return SkinPictureId::IkoUwaga;
    }
    return std::nullopt;
}

// "\r" breaks the line.
QString DisplayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setModal(true);
    setFixedSize(350, 150);
    Build();
}

void MessageBoxWindow::Build() {
    auto* background = new QLabel(this);
    background->setGeometry(0, 0, 350, 150);
    background->setPixmap(QPixmap::fromImage(LoadSkinPicture(SkinPictureId::OknoWarning)));
    icon_ = new QLabel(this);
    icon_->setGeometry(12, 4, 42, 43);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("LTekstWarning"));
    text_->setGeometry(17, 51, 313, 53);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setFont(SkinFont(9));
    SetTextColour(text_, QColor(68, 68, 68));
    for (int i = 0; i < kButtonCount; ++i) {
        buttons_[static_cast<std::size_t>(i)] = new PictureButton(this, kButtons[i].rectangle);
        connect(buttons_[static_cast<std::size_t>(i)], &PictureButton::clicked, this,
                [this, i] { AnswerWith(kButtons[static_cast<std::size_t>(i)].answer); });
    }
    auto* strip = new ClickArea(this, QRect(56, 5, 281, 23));
    strip->setCursor(Qt::ArrowCursor);
    new WindowDragger(this, strip);
    auto* closeMark = new ClickArea(this, QRect(323, 8, 17, 17));
    connect(closeMark, &ClickArea::clicked, this, [this] {
        AnswerWith(ThreeButtons() ? MessageBoxResult::Cancel : MessageBoxResult::Closed);
    });
}

// The minute timer runs inside the box's loop and may need the box itself. The one box then
// serves its callers in turn: a later call waits until the open box is answered, and each call
// runs a loop of its own, so that its answer is its own and no box changes under the pupil's
// hand.
MessageBoxResult MessageBoxWindow::ShowMessageBox(MessageKind kind, MessageIcon icon,
                                                  std::string_view text) {
    while (isVisible()) {
        QEventLoop waiting;
        connect(this, &QDialog::finished, &waiting, &QEventLoop::quit);
        waiting.exec(QEventLoop::DialogExec);
    }
    Prepare(kind, icon, text);
    MessageBoxResult answer = MessageBoxResult::No;
    bool answered = false;
    QEventLoop shown;
    connect(this, &QDialog::finished, &shown, [&] {
        if (!answered) {
            answer = answer_;
            answered = true;
        }
        shown.quit();
    });
    show();
    shown.exec(QEventLoop::DialogExec);
    return answer;
}

void MessageBoxWindow::Prepare(MessageKind kind, MessageIcon icon, std::string_view text) {
    const bool three = kind == MessageKind::YesNoCancel;
    highlight_ = three ? Highlight::Yes : Highlight::Close;
    DrawButton(kYes, true);
    DrawButton(kNo, false);
    DrawButton(kCancel, false);
    DrawButton(kClose, !three);
    buttons_[kYes]->setVisible(three);
    buttons_[kNo]->setVisible(three);
    buttons_[kCancel]->setVisible(three);
    buttons_[kClose]->setVisible(!three);
    text_->setText(DisplayText(text));
    if (const std::optional<SkinPictureId> picture = IconPicture(icon)) {
        icon_->setPixmap(QPixmap::fromImage(LoadSkinPicture(*picture)));
    }
    answer_ = MessageBoxResult::No;
}

void MessageBoxWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    activateWindow();
    setFocus();
}

bool MessageBoxWindow::ThreeButtons() const {
    return !buttons_[kClose]->isVisibleTo(this);
}

void MessageBoxWindow::AnswerWith(MessageBoxResult answer) {
    answer_ = answer;
    done(static_cast<int>(answer));
}

void MessageBoxWindow::DrawButton(ButtonIndex button, bool highlighted) {
    buttons_[button]->setPicture(
        LoadSkinPicture(ButtonPicture(kButtons[static_cast<std::size_t>(button)], highlighted)));
}

void MessageBoxWindow::MoveHighlight(Highlight to) {
    DrawButton(static_cast<ButtonIndex>(static_cast<int>(highlight_) - 1), false);
    highlight_ = to;
    DrawButton(static_cast<ButtonIndex>(static_cast<int>(highlight_) - 1), true);
}

void MessageBoxWindow::NextButton() {
    if (highlight_ == Highlight::Close) {
        return;
    }
    MoveHighlight(highlight_ == Highlight::Cancel
                      ? Highlight::Yes
                      : static_cast<Highlight>(static_cast<int>(highlight_) + 1));
}

void MessageBoxWindow::PreviousButton() {
    if (highlight_ == Highlight::Close) {
        return;
    }
    MoveHighlight(highlight_ == Highlight::Yes
                      ? Highlight::Cancel
                      : static_cast<Highlight>(static_cast<int>(highlight_) - 1));
}

bool MessageBoxWindow::AnswersLetter(int key) {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const Qt::Key letter = kPolish ? kButtons[i].polishLetter : kButtons[i].otherLetter;
        if (key == letter && buttons_[i]->isVisibleTo(this)) {
            AnswerWith(kButtons[i].answer);
            return true;
        }
    }
    return false;
}

// Every key is taken here, so none reaches another control.
void MessageBoxWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const int key = event->key();
    if (AnswersLetter(key)) {
        return;
    }
    if (key == Qt::Key_Escape) {
        if (!ThreeButtons()) {
            AnswerWith(MessageBoxResult::Closed);
        }
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        AnswerWith(highlight_ == Highlight::Close ? MessageBoxResult::Closed
                                                  : static_cast<MessageBoxResult>(highlight_));
    } else if (key == Qt::Key_Left) {
        PreviousButton();
    } else if (key == Qt::Key_Right) {
        NextButton();
    }
}

}  // namespace oplix::ui
