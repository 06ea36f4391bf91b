#include "ui/windows/LegendWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainterPath>
#include <QRegion>

#include "app/Journal.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"
#include "ui/widgets/WindowDragger.h"

namespace oplix::ui {
namespace {

constexpr QSize kSize{376, 165};

struct LegendLine {
    const char* name;
    QRect rectangle;
    const char* text;
};

// Each stands to the right of its mark in the picture: black, green, yellow and red.
constexpr LegendLine kLines[] = {
    {"LLegenda1", QRect(44, 36, 292, 13), "  - tej odpowiedzi nie wybrałeś. I bardzo słusznie."},
    {"LLegenda2", QRect(44, 61, 292, 13),
     "  - wybrałeś tę odpowiedź. I tak właśnie należało uczynić."},
    {"Llegenda3", QRect(44, 86, 301, 13),
     "  - tę odpowiedź należało wskazać. Niestety, pominąłeś ją."},
    {"LLegenda4", QRect(44, 112, 292, 13), "  - wskazałeś tę odpowiedź, choć jest błędna. Szkoda."},
};

// The rectangle with corners that are arcs of a 12 x 12 ellipse.
QRegion RoundedShape() {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, kSize.width(), kSize.height()), 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

}  // namespace

LegendWindow::LegendWindow(Settings& settings, std::string settingsPath, Journal& journal,
                           QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      settings_(settings),
      settingsPath_(std::move(settingsPath)),
      journal_(journal) {
    setObjectName(QStringLiteral("TFOknoLegendy"));
    setFixedSize(kSize);
    Build();
}

void LegendWindow::Build() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PPodLegende"));
    panel->setGeometry(rect());
    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ImLegenda"));
    picture->setGeometry(panel->rect());
    picture->setPixmap(QPixmap::fromImage(LoadSkinPicture(SkinPictureId::OknoLegendy)));

    auto* strip = new ClickArea(panel, QRect(7, 6, 330, 17));
    strip->setObjectName(QStringLiteral("LListwa"));
    new WindowDragger(this, strip);
    auto* closeMark = new ClickArea(panel, QRect(351, 5, 17, 16));
    closeMark->setObjectName(QStringLiteral("LCloseLegenda"));
    connect(closeMark, &ClickArea::clicked, this, &LegendWindow::CloseByMark);

    for (const LegendLine& line : kLines) {
        auto* text = new QLabel(QString::fromUtf8(line.text), panel);
        text->setObjectName(QString::fromLatin1(line.name));
        text->setGeometry(line.rectangle);
        text->setWordWrap(true);
        text->setFont(SkinFont(8));
        SetTextColour(text, DarkGrey());
    }

    checkBox_ = new QCheckBox(QStringLiteral("Nie pokazuj legendy"), panel);
    checkBox_->setObjectName(QStringLiteral("CNiePokazujLegendy"));
    checkBox_->setGeometry(200, 133, 153, 14);
    checkBox_->setFont(SkinFont(8));
    QPalette colours = checkBox_->palette();
    colours.setColor(QPalette::WindowText, DarkGrey());
    checkBox_->setPalette(colours);
    connect(checkBox_, &QCheckBox::clicked, this, [this] { checkBoxClicked_ = true; });
}

void LegendWindow::Show() {
    setMask(RoundedShape());
    move(kScreenPosition);
    checkBox_->setEnabled(settings_.chl);
    show();
    raise();
}

void LegendWindow::Hide() {
    hide();
}

void LegendWindow::Close() {
    hide();
}

void LegendWindow::CloseByMark() {
    hide();
    if (settings_.chl && checkBoxClicked_) {
        StoreLegendShown(settingsPath_, settings_, journal_, !checkBox_->isChecked());
    }
}

}  // namespace oplix::ui
