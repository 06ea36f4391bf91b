#include "ui/main/Program.h"

#include <QApplication>

#include "ui/main/ProgramWindows.h"

namespace oplix::ui {

int RunProgram(QApplication& application) {
    QApplication::setApplicationDisplayName(QStringLiteral("Oplix - Test 4.0"));
    ProgramWindows windows;
    windows.Prepare(application.arguments().mid(1));
    return application.exec();
}

}  // namespace oplix::ui
