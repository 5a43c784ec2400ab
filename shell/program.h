// The program's windows: the main window and its six dialogs, made in this order once and
// kept until the program ends, and the game pads that play beside the keyboard.
#pragma once

#include <QApplication>
#include <QIcon>

#include "records/dialogs/dialog_support.h"
#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "shell/about.h"
#include "shell/gamepad.h"
#include "shell/main_form.h"
#include "shell/options.h"
#include "shell/unit1.h"

namespace zonky {

// The application's names, icon and fonts, set before the windows are made.
inline void SetUpApplication() {
    // No display name: Qt would append it to every window's caption.
    QApplication::setApplicationName("zonkymosaro");
    QApplication::setWindowIcon(QIcon(":/icons/zonkymosaro-32.png"));
    // The window closes through its closing sequence, which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
}

struct Program {
    Program()
        : OpForm(MainForm.settings(), &MainForm),
          InputName(&MainForm),
          HiScoreForm(MainForm.hiScores(), &MainForm),
          AboutFormRus(&MainForm),
          Form2(MainForm.settings(), &MainForm),
          AboutFormEng(&MainForm),
          Pads(PadCommandsTo(MainForm)) {
        MainForm.AttachDialogs(AllDialogs());
        Pads.Open();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Dialogs AllDialogs() {
        return {&OpForm, &InputName, &HiScoreForm, &AboutFormRus, &Form2, &AboutFormEng};
    }

    TMainForm MainForm;
    TOpForm OpForm;
    TInputName InputName;
    THiScoreForm HiScoreForm;
    TAboutFormRus AboutFormRus;
    TForm2 Form2;
    TAboutFormEng AboutFormEng;
    // Game pads play beside the keyboard; a player without one never notices them.
    Gamepads Pads;
};

}  // namespace zonky
