#include "ui/windows/SummaryWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include "app/MessageBox.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/PictureButton.h"
#include "ui/widgets/ReachablePlacement.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

constexpr QPoint kOffsetFromPanel{375, 222};
constexpr std::string_view kTakenNameEnd =
    "” już istnieje i pozostał bez zmian.\rPodaj inną nazwę pliku.";

QString DisplayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace

SummaryWindow::SummaryWindow(QString documentsFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      documentsFolder_(std::move(documentsFolder)) {
    setObjectName(QStringLiteral("TFPodsumowanie"));
    setModal(true);
    setFixedSize(306, 227);
    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("ImTlo"));
    background->setGeometry(0, 0, 308, 229);
    background->setPixmap(QPixmap::fromImage(LoadSkinPicture(SkinPictureId::OknoPodsumowania)));

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("LPodsumowanie"));
    text_->setGeometry(72, 69, 211, 100);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setFont(SkinFont(8));
    SetTextColour(text_, DarkGrey());

    auto* closeMark = new ClickArea(this, QRect(283, 6, 17, 17));
    closeMark->setObjectName(QStringLiteral("LClosePodsumowanie"));
    connect(closeMark, &ClickArea::clicked, this, &QDialog::accept);

    saveButton_ = new PictureButton(this, QRect(205, 182, 76, 27));
    saveButton_->setObjectName(QStringLiteral("ImZapisz"));
    saveButton_->setPicture(LoadSkinPicture(SkinPictureId::Zapisz));
    connect(saveButton_, &PictureButton::clicked, this, &SummaryWindow::SaveResult);
}

void SummaryWindow::Prepare(std::string_view text, bool saveOffered) {
    text_->setText(DisplayText(text));
    saveButton_->setVisible(saveOffered);
}

void SummaryWindow::Show(std::string_view text, bool saveOffered) {
    Prepare(text, saveOffered);
    exec();
}

void SummaryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (panelOrigin_) {
        MoveWithinWorkArea(*this, panelOrigin_() + kOffsetFromPanel);
    }
}

QFileDialog* SummaryWindow::SaveDialog() {
    if (saveDialog_ == nullptr) {
        saveDialog_ = new QFileDialog(this, QStringLiteral("Zapis wyniku testu"));
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setNameFilter(QStringLiteral("Plik odpowiedzi (*.sko)"));
        saveDialog_->setDefaultSuffix(QStringLiteral("sko"));
        saveDialog_->setDirectory(documentsFolder_);
        // The program keeps an existing file and says so itself; the dialog must not offer to
        // replace it.
        saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return saveDialog_;
}

// A result file is never replaced: a name already taken is told in the program's own box, and
// the dialog opens again for another name.
void SummaryWindow::SaveResult() {
    QFileDialog* dialog = SaveDialog();
    while (dialog->exec() == QDialog::Accepted) {
        const QStringList chosen = dialog->selectedFiles();
        if (chosen.isEmpty()) {
            return;
        }
        const QFileInfo file(chosen.front());
        if (!file.exists() && !file.isSymLink()) {
            if (save_) {
                save_(file.filePath().toStdString());
            }
            return;
        }
        if (messages_ != nullptr) {
            const std::string text =
                "Plik „" + file.fileName().toStdString() + std::string(kTakenNameEnd);
            messages_->ShowMessageBox(MessageKind::Close, MessageIcon::Warning, text);
        }
    }
}

}  // namespace oplix::ui
