// oplix-test: the pupil's program.
#include <QApplication>

#include "ui/main/Program.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return oplix::ui::RunProgram(application);
}
