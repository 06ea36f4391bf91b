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
#include "ui/widgets/ClickArea.h"
#include "ui/widgets/ReachablePlacement.h"
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

// The window's name, title and fixed size; it is modal.
inline void SetUpListWindow(QWidget* window, const char* name, const QString& title, QSize size) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(title);
    window->setWindowModality(Qt::ApplicationModal);
    window->setFixedSize(size);
}

// The accept area over the background's drawn button at `acceptAt`, the cancel area over the
// one 36 pixels below it.
template <typename Window>
void AddAcceptAndCancel(Window* window, QPoint acceptAt, void (Window::*accept)(),
                        void (Window::*cancel)()) {
    auto* acceptArea = new ClickArea(window, QRect(acceptAt, QSize(89, 24)));
    acceptArea->setObjectName(QStringLiteral("LWprowadz"));
    QObject::connect(acceptArea, &ClickArea::clicked, window, accept);
    auto* cancelArea = new ClickArea(window, QRect(acceptAt + QPoint(0, 36), QSize(89, 24)));
    cancelArea->setObjectName(QStringLiteral("LAnuluj"));
    QObject::connect(cancelArea, &ClickArea::clicked, window, cancel);
}

// Every showing places the window from the main panel's corner.
inline void PlaceFromPanel(QWidget* window, const ListWindowServices& services, QPoint offset) {
    if (services.origin) {
        MoveWithinWorkArea(*window, services.origin() + offset);
    }
}

// The window's background picture, its design: heading, white fields and drawn buttons.
inline QLabel* ListWindowBackground(QWidget* window, const char* name, SkinPictureId picture) {
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
