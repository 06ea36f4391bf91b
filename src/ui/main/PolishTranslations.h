#pragma once

class QCoreApplication;

namespace oplix::ui {

// Qt's own Polish texts (the file dialogs' captions, buttons and questions), from the Qt
// translations installed on the computer. False when they are not installed: the dialogs then
// speak English.
bool LoadPolishTranslations(QCoreApplication& application);

}  // namespace oplix::ui
