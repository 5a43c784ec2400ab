// The interface texts in English and Russian, and the switch of every caption to one of them.
#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

class QAction;
class QMenu;

namespace zonky {

enum class ReplayProblem : std::uint8_t;
struct FileWriteResult;
class TAboutFormEng;
class TAboutFormRus;
class TForm2;
class THiScoreForm;
class TInputName;
class TOpForm;

// The string ids, in the order of the table.
enum class UiId : int {
    Game,  // the "&Game" menu
    New,
    Classic,
    Dedadidavaza,
    Zonky,
    Options,
    HiScore,
    Exit,
    Help,
    About,
    Rotate,
    Music,
    Sound,
    Language,
    Cancel,
    InputYourName,
    RecordEstablished,
    BestPlayers,
    Name,
    Level,
    Score,
    Pause,
    CheckOutOther,
    InterestingGames,
    Welcome,
    WebPage,    // the game's page, shown in the About dialogs
    Game1Page,  // the first sister game, behind Form2's first picture
    Game2Page,  // the second sister game
    GoodBye,
};
inline constexpr int kUiStringCount = 29;

// Language 0 is English, 1 Russian; any other value reads as English.
std::string_view UiTextUtf8(UiId id, std::uint8_t language);
QString UiText(UiId id, std::uint8_t language);

// The texts of watching replays, beside the table of the game's own texts.
enum class ReplayTextId : int {
    GameOf,       // the caption while a named player's game plays: "%1" the name
    Replay,       // the caption while a game without a name plays
    Paused,       // added to the caption while the playback stands still
    Watch,        // the best-players dialog's context menu
    RowTooltip,   // a row whose game can be watched
    NotAReplay,   // a file that cannot be played: "%1" its name, "%2" the reason
    Diverged,     // a replay that stops matching its game
    GameRunning,  // watching refused while a game runs
};
QString ReplayText(ReplayTextId id, std::uint8_t language);

// Why a file cannot be played, for NotAReplay's "%2": `line` is where a line-bound problem
// lies, `detail` the script language's own words for a bad line (English, as zonky-replay
// prints them; the Russian text names the line alone).
QString ReplayProblemText(ReplayProblem problem, long line, std::string_view detail,
                          std::uint8_t language);

// The same in both languages.
inline constexpr std::string_view kSupportMail = "support@example.org";

// Form2's message line: "Check out other interesting games:" or its Russian form.
QString Form2MessageLine(std::uint8_t language);

// The main window's menu entries whose captions follow the language, in the order they are
// renamed. The main window owns them; a null entry is skipped.
struct MainMenuItems {
    QMenu* Game1 = nullptr;
    QAction* New = nullptr;
    QAction* Pause1 = nullptr;
    QAction* Classic1 = nullptr;
    QAction* Dedadidavaza1 = nullptr;
    QAction* Zonky1 = nullptr;
    QAction* Options = nullptr;
    QAction* hiScore1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* About1 = nullptr;
};

// The dialogs, created after the main window and kept for the run.
struct Dialogs {
    TOpForm* OpForm = nullptr;
    TInputName* InputName = nullptr;
    THiScoreForm* HiScoreForm = nullptr;
    TAboutFormRus* AboutFormRus = nullptr;
    TForm2* Form2 = nullptr;
    TAboutFormEng* AboutFormEng = nullptr;
};

// Everything ApplyLanguage renames: the six dialogs and the menu.
struct LanguageTargets : Dialogs {
    MainMenuItems Menu;
};

// Sets every language-dependent caption of the menu and the dialogs to the given language.
void ApplyLanguage(std::uint8_t uiLanguage, const LanguageTargets& targets);

// Before the good-bye dialog: Form2's caption becomes "Good Bye!" and its message line is
// set again, both in the given language.
void SetGoodByeTexts(TForm2& form, std::uint8_t uiLanguage);

// The message at close when `count` best-players results could not be saved to `file`:
// which file, why (`failed`, the last try), and that the results are lost.
QString UnsavedResultsText(std::uint8_t uiLanguage, int count, const QString& file,
                           const FileWriteResult& failed);

}  // namespace zonky
