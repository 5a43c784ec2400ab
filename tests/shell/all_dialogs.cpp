#include "tests/shell/all_dialogs.h"

#include <QDesktopServices>

namespace zonky {
namespace {
constexpr const char* kCaughtSchemes[] = {"http", "https", "mailto"};
}

UrlCatcher::UrlCatcher() {
    for (const char* scheme : kCaughtSchemes) QDesktopServices::setUrlHandler(scheme, this, "Open");
}

UrlCatcher::~UrlCatcher() {
    for (const char* scheme : kCaughtSchemes) QDesktopServices::unsetUrlHandler(scheme);
}

AllDialogs::AllDialogs() {
    // The menu with the captions it is created with.
    Game1 = menuBar.addMenu("&Game");
    New = Game1->addAction("New");
    Game1->addSeparator();
    Classic1 = Game1->addAction("Classic");
    Dedadidavaza1 = Game1->addAction("Dedadidavaza");
    Zonky1 = Game1->addAction("Zonky");
    Game1->addSeparator();
    Pause1 = Game1->addAction("&Pause");
    Game1->addSeparator();
    Options = Game1->addAction("Options");
    Game1->addSeparator();
    hiScore1 = Game1->addAction("HiScore");
    Game1->addSeparator();
    Exit1 = Game1->addAction("Exit");
    N5 = menuBar.addMenu("&?");
    About1 = N5->addAction("About");
}

LanguageTargets AllDialogs::Targets() {
    LanguageTargets targets;
    targets.Menu = {Game1,  New,     Pause1,   Classic1, Dedadidavaza1,
                    Zonky1, Options, hiScore1, Exit1,    About1};
    targets.OpForm = &OpForm;
    targets.InputName = &InputName;
    targets.HiScoreForm = &HiScoreForm;
    targets.AboutFormEng = &AboutFormEng;
    targets.AboutFormRus = &AboutFormRus;
    targets.Form2 = &Form2;
    return targets;
}

std::vector<QDialog*> AllDialogs::Dialogs() {
    return {&OpForm, &InputName, &HiScoreForm, &AboutFormRus, &Form2, &AboutFormEng};
}

}  // namespace zonky
