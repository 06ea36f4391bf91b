#include "ui/widgets/TextBox.h"

#include <QEvent>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>

#include "ui/widgets/WrappedTextView.h"

namespace oplix::ui {
namespace {

QStringList Paragraphs(const QString& text) {
    QStringList paragraphs;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar character = text.at(at);
        if (character != QLatin1Char('\r') && character != QLatin1Char('\n')) {
            continue;
        }
        paragraphs.push_back(text.mid(start, at - start));
        if (character == QLatin1Char('\r') && at + 1 < text.size() &&
            text.at(at + 1) == QLatin1Char('\n')) {
            ++at;
        }
        start = at + 1;
    }
    paragraphs.push_back(text.mid(start));
    return paragraphs;
}

}  // namespace

TextBox::TextBox(QWidget* parent)
    : QWidget(parent), view_(new WrappedTextView(this)), bar_(new QScrollBar(Qt::Vertical, this)) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, 0);
    connect(bar_, &QScrollBar::valueChanged, view_, &WrappedTextView::scrollToLine);
    connect(view_, &WrappedTextView::firstVisibleLineChanged, bar_, &QScrollBar::setValue);
    connect(view_, &WrappedTextView::wheelScrolled, bar_,
            [this](int lines) { bar_->setValue(bar_->value() + lines); });
}

void TextBox::setPlainText(const QString& text) {
    LayOut();  // a box not shown yet has its size, but not yet the resize event
    view_->setParagraphs(Paragraphs(text));
    UpdateScrollRange();
}

QString TextBox::toPlainText() const {
    return view_->text();
}

void TextBox::resizeEvent(QResizeEvent*) {
    LayOut();
    UpdateScrollRange();
}

void TextBox::LayOut() {
    const int barWidth = bar_->sizeHint().width();
    bar_->setGeometry(width() - barWidth, 0, barWidth, height());
    view_->setGeometry(0, 0, std::max(0, width() - barWidth), height());
}

void TextBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        QPalette colours = view_->palette();
        colours.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
        view_->setPalette(colours);
    }
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateScrollRange();
    }
}

// The text moves by lines; the last position shows its last full page.
void TextBox::UpdateScrollRange() {
    const int linesShown = std::max(1, view_->height() / view_->lineHeight());
    bar_->setRange(0, std::max(0, view_->lineCount() - linesShown));
    bar_->setPageStep(linesShown);
}

}  // namespace oplix::ui
