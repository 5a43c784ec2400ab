// zonkymosaro: the program. The main window and its dialogs are made once (see Program) and
// live until the program ends.
#include <QApplication>

#include "shell/display.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    // Without a display Qt would abort with a core dump; one line and status 1 say it plainly.
    zonky::ApplicationArguments arguments(argc, argv);
    if (!arguments.found()) return 1;
    QApplication app(arguments.argc(), arguments.argv());
    zonky::SetUpApplication();

    zonky::Program program;
    program.MainForm.FormShow();
    return QApplication::exec();
}
