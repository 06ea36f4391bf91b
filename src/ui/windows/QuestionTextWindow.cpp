#include "ui/windows/QuestionTextWindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "storage/UPak.h"
#include "ui/widgets/SkinFont.h"

namespace oplix::ui {

QuestionTextWindow::QuestionTextWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(SkinFont(9));
    layout->addWidget(text_);
    resize(360, 260);
}

void QuestionTextWindow::ShowEmpty() {
    Empty();
    show();
}

void QuestionTextWindow::Empty() {
    text_->clear();
}

void QuestionTextWindow::Load(const TVfsPAK& archive, std::string_view member) {
    std::vector<std::string> lines;
    Empty();
    if (!LoadTextMember(member, lines, archive)) {
        return;
    }
    QStringList shown;
    for (const std::string& line : lines) {
        shown.push_back(QString::fromStdString(line));
    }
    text_->setPlainText(shown.join(QLatin1Char('\n')));
}

void QuestionTextWindow::Close() {
    Empty();
    hide();
}

QString QuestionTextWindow::ShownText() const {
    return text_->toPlainText();
}

}  // namespace oplix::ui
