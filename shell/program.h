// The program's windows: the main window and its six dialogs, kept until the program ends,
// and the game pads that play beside the keyboard. Only the welcome dialog is shown before
// the main window; the other five are made when one of them is first needed.
#pragma once

#include <QApplication>
#include <QIcon>

#include <memory>

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
    Program() : Form2(MainForm.settings(), &MainForm), Pads(PadCommandsTo(MainForm)) {
        MainForm.AttachDialogs({.Form2 = &Form2}, [this] { return AllDialogs(); });
        Pads.OpenAfterFirstWindow();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Every dialog, the ones not made yet made now.
    Dialogs AllDialogs() {
        if (!later_) later_ = std::make_unique<LaterDialogs>(MainForm);
        return {&later_->OpForm, &later_->InputName,   &later_->HiScoreForm, &later_->AboutFormRus,
                &Form2,          &later_->AboutFormEng};
    }
    // Whether the five dialogs after the welcome have been made.
    bool DialogsMade() const { return later_ != nullptr; }

    TMainForm MainForm;
    TForm2 Form2;
    // Game pads play beside the keyboard; a player without one never notices them.
    Gamepads Pads;

  private:
    // In the old program's order of creation.
    struct LaterDialogs {
        explicit LaterDialogs(TMainForm& form)
            : OpForm(form.settings(), &form),
              InputName(&form),
              HiScoreForm(form.hiScores(), &form),
              AboutFormRus(&form),
              AboutFormEng(&form) {}
        TOpForm OpForm;
        TInputName InputName;
        THiScoreForm HiScoreForm;
        TAboutFormRus AboutFormRus;
        TAboutFormEng AboutFormEng;
    };
    std::unique_ptr<LaterDialogs> later_;
};

}  // namespace zonky
