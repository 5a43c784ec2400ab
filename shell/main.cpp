// zonkymosaro: the program. The main window and its dialogs are made once (see Program) and
// live until the program ends.
#include <QApplication>
#include <QStringList>

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
    // "--replay FILE", or a file alone as the file manager passes it: watched once the
    // window is up.
    const QStringList args = QApplication::arguments();
    QString replay;
    if (args.size() == 3 && args[1] == "--replay")
        replay = args[2];
    else if (args.size() == 2 && !args[1].startsWith('-'))
        replay = args[1];
    if (!replay.isEmpty()) program.MainForm.WatchReplay(replay);
    return QApplication::exec();
}
