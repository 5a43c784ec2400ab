// The six dialogs and a main menu built like the main window's, for the shell tests.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QUrl>

#include <vector>

#include "game/settings.h"
#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "records/hiscore_table.h"
#include "shell/about.h"
#include "shell/mosconst.h"
#include "shell/options.h"
#include "shell/unit1.h"

namespace zonky {

// Catches the addresses the dialogs hand to the desktop, for the schemes given, while it
// lives; nothing is opened for real.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher();
    ~UrlCatcher() override;
    std::vector<QUrl> urls;

  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

struct AllDialogs {
    AllDialogs();

    LanguageTargets Targets();
    std::vector<QDialog*> Dialogs();

    Settings settings;
    HiScoreTable table;

    QMenuBar menuBar;
    QMenu* Game1;
    QAction* New;
    QAction* Classic1;
    QAction* Dedadidavaza1;
    QAction* Zonky1;
    QAction* Pause1;
    QAction* Options;
    QAction* hiScore1;
    QAction* Exit1;
    QMenu* N5;
    QAction* About1;

    // In the program's order of creation.
    TOpForm OpForm{settings};
    TInputName InputName;
    THiScoreForm HiScoreForm{table};
    TAboutFormRus AboutFormRus;
    TForm2 Form2{settings};
    TAboutFormEng AboutFormEng;
};

}  // namespace zonky
