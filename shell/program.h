// The program's windows: the main window and its six dialogs, made in this order once and
// kept until the program ends.
#pragma once

#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "shell/about.h"
#include "shell/about_eng.h"
#include "shell/main_form.h"
#include "shell/options.h"
#include "shell/unit1.h"

namespace zonky {

struct Program {
    Program()
        : OpForm(MainForm.settings(), &MainForm),
          InputName(&MainForm),
          HiScoreForm(MainForm.hiScores(), &MainForm),
          AboutFormRus(&MainForm),
          Form2(MainForm.settings(), &MainForm),
          AboutFormEng(&MainForm) {
        MainForm.AttachDialogs(AllDialogs());
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
};

}  // namespace zonky
