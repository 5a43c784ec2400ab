// zonkymosaro: the program. The main window and its six dialogs are made once, in this
// order, and live until the program ends.
#include <QApplication>
#include <QIcon>

#include "records/dialogs/dialog_support.h"
#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "shell/about.h"
#include "shell/about_eng.h"
#include "shell/main_form.h"
#include "shell/options.h"
#include "shell/unit1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("zonkymosaro");
    QApplication::setApplicationDisplayName("Zonky Mosaro");
    QApplication::setWindowIcon(QIcon(":/icons/zonkymosaro-32.png"));
    // The window closes through its closing sequence, which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    zonky::InstallFontSubstitutes();

    zonky::TMainForm MainForm;
    zonky::TOpForm OpForm(MainForm.settings(), &MainForm);
    zonky::TInputName InputName(&MainForm);
    zonky::THiScoreForm HiScoreForm(MainForm.hiScores(), &MainForm);
    zonky::TAboutFormRus AboutFormRus(&MainForm);
    zonky::TForm2 Form2(MainForm.settings(), &MainForm);
    zonky::TAboutFormEng AboutFormEng(&MainForm);
    MainForm.AttachDialogs(
        {&OpForm, &InputName, &HiScoreForm, &AboutFormRus, &Form2, &AboutFormEng});

    MainForm.FormShow();
    return QApplication::exec();
}
