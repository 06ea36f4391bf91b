#include "ui/main/Program.h"

#include <QApplication>

#include "ui/main/PolishTranslations.h"
#include "ui/main/ProgramWindows.h"

namespace oplix::ui {

int RunProgram(QApplication& application) {
    QApplication::setApplicationDisplayName(QStringLiteral("Oplix - Test 4.0"));
    LoadPolishTranslations(application);
    ProgramWindows windows;
    windows.Prepare(application.arguments().mid(1));
    return application.exec();
}

}  // namespace oplix::ui
