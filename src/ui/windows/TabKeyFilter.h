#pragma once

#include <QObject>
#include <functional>

namespace oplix::ui {

// Installed once on the application: the Tab key never moves the focus in the program's own
// skinned windows. Each press there is swallowed and handed to `onTab` instead (the message box
// moves its highlight with it). The open and save dialogs keep their Tab.
class TabKeyFilter : public QObject {
    Q_OBJECT
public:
    TabKeyFilter(QObject* parent, std::function<void()> onTab);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onTab_;
};

}  // namespace oplix::ui
