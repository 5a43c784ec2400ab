// zonkymosaro: the program. The main window and its six dialogs are made once, in this
// order, and live until the program ends.
#include <QApplication>

#include "shell/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zonky::SetUpApplication();

    zonky::Program program;
    program.MainForm.FormShow();
    return QApplication::exec();
}
