#pragma once

#include <QLabel>
#include <QPoint>
#include <QString>
#include <functional>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "formats/StudentsList.h"
#include "ui/widgets/SkinFont.h"
#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {

// What the three list choice windows work with. The students list is read into `students`
// at each opening and must stay as it is while the test that names its pupil runs.
struct ListWindowServices {
    const Settings& settings;  // fn, sct, scl
    Journal& journal;
    const Clock& clock;
    MessageBoxPresenter& messages;
    StudentsList& students;
    CurrentChoice& choice;
    // The main panel's top-left corner on the screen: the windows place themselves from it.
    std::function<QPoint()> origin;
    // Starts the test the choice names; called once the window has closed.
    std::function<void()> startTest;
};

// The window's background picture, its design: heading, white fields and drawn buttons.
inline QLabel* ListWindowBackground(QWidget* window, const char* name, const QString& picture) {
    auto* background = new QLabel(window);
    background->setObjectName(QString::fromLatin1(name));
    background->setGeometry(QRect(QPoint(0, 0), window->size()));
    background->setPixmap(QPixmap::fromImage(LoadSkinPicture(picture)));
    return background;
}

// A white panel that clips a list or holds a scroll bar.
inline QWidget* WhitePanel(QWidget* parent, const char* name, const QRect& rectangle) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(rectangle);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, Qt::white);
    panel->setPalette(colours);
    return panel;
}

// The bold dark-grey line under the lists that tells what is chosen.
inline QLabel* ChoiceLabel(QWidget* window, const char* name, const QRect& rectangle) {
    auto* label = new QLabel(window);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rectangle);
    label->setFont(SkinFont(8, true));
    SetTextColour(label, DarkGrey());
    return label;
}

}  // namespace oplix::ui
