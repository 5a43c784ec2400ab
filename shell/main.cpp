// zonkymosaro: the program. The main window and its six dialogs are made once, in this
// order, and live until the program ends.
#include <QApplication>
#include <QIcon>

#include "records/dialogs/dialog_support.h"
#include "shell/display.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    // Without a display Qt would abort with a core dump; one line and status 1 say it plainly.
    zonky::ApplicationArguments arguments(argc, argv);
    if (!arguments.found()) return 1;
    QApplication app(arguments.argc(), arguments.argv());
    // No display name: Qt would append it to every window's caption.
    QApplication::setApplicationName("zonkymosaro");
    QApplication::setWindowIcon(QIcon(":/icons/zonkymosaro-32.png"));
    // The window closes through its closing sequence, which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    zonky::InstallFontSubstitutes();

    zonky::Program program;
    program.MainForm.FormShow();
    return QApplication::exec();
}
