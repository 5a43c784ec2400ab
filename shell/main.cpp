// zonkymosaro: the program. The main window and its six dialogs are made once, in this
// order, and live until the program ends.
#include <QApplication>
#include <QIcon>

#include "records/dialogs/dialog_support.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("zonkymosaro");
    QApplication::setApplicationDisplayName("Zonky Mosaro");
    QApplication::setWindowIcon(QIcon(":/icons/zonkymosaro-32.png"));
    // The window closes through its closing sequence, which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    zonky::InstallFontSubstitutes();

    zonky::Program program;
    program.MainForm.FormShow();
    return QApplication::exec();
}
