#pragma once

#include <QStringList>
#include <memory>

class QApplication;

namespace oplix::ui {

// Builds the program's windows in their fixed order, prepares the run at the main window's
// first showing and runs the message loop. Returns the exit code.
int RunProgram(QApplication& application);

}  // namespace oplix::ui
