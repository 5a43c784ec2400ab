#include "shell/mosconst.h"

#include <QAction>
#include <QMenu>

#include <array>
#include <cerrno>

#include "game/replay_script.h"
#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "records/file_io.h"
#include "shell/about.h"
#include "shell/options.h"
#include "shell/unit1.h"

namespace zonky {
namespace {

// Row = string id, column = language (English, Russian). The web addresses have no scheme;
// the project has no home page of its own, so they lie in the reserved example domain.
constexpr std::array<std::array<std::string_view, 2>, kUiStringCount> UiStrings = {{
    {"&Game", "&Игра"},
    {"New", "Новая"},
    {"Classic", "Classic"},
    {"Dedadidavaza", "Dedadidavaza"},
    {"Zonky", "Zonky"},
    {"Options", "Настройки"},
    {"HiScore", "Рекорды"},
    {"Exit", "Выход"},
    {"Help", "Справка"},
    {"About", "О программе"},
    {"Rotate", "Поворот"},
    {"Music", "Музыка"},
    {"Sound", "Звуки"},
    {"Language", "Язык"},
    {"Cancel", "Отмена"},
    {"Input your name", "Введите своё имя"},
    {"The record is established!", "Установлен рекорд!"},
    {"Best players", "Лучшие игроки"},
    {"Name", "Имя"},
    {"Level", "Тур"},
    {"Score", "Очки"},
    {"Pause", "Пауза"},
    {"Check out other", "Поиграйте и в эти"},
    {"interesting games:", "интересные игры:"},
    {"Welcome", "Добро пожаловать!"},
    {"www.example.org/zonkymosaro", "www.example.org/ru/zonkymosaro"},
    {"www.example.org/zonkycascade", "www.example.org/ru/zonkycascade"},
    {"www.example.org/mosarotiles", "www.example.org/ru/mosarotiles"},
    {"Good Bye!", "До свидания!"},
}};

constexpr std::array<std::array<std::string_view, 2>, 8> ReplayTexts = {{
    {"Zonky Mosaro: game of %1", "Zonky Mosaro: игра игрока %1"},
    {"Zonky Mosaro: replay", "Zonky Mosaro: повтор игры"},
    {"paused", "пауза"},
    {"Watch this game", "Посмотреть эту игру"},
    {"This game can be watched again: double-click it.",
     "Эту игру можно посмотреть снова: щёлкните её дважды."},
    {"%1 cannot be played: %2.", "Файл %1 нельзя показать: %2."},
    {"From here on this replay does not match its game (it was recorded by another version, "
     "or the file is damaged). The playback has stopped.",
     "Дальше этот повтор не совпадает со своей игрой (он записан другой версией или файл "
     "повреждён). Показ остановлен."},
    {"A game is running: end it before watching a replay.",
     "Идёт игра: закончите её, прежде чем смотреть повтор."},
}};

// Row = ReplayProblem less one (None has no words). "%1" the line, "%2" the line limit or
// the bad line's detail.
constexpr std::array<std::array<std::string_view, 2>, 8> ReplayProblemTexts = {{
    {"there is no such file", "такого файла нет"},
    {"it is not a regular file", "это не обычный файл"},
    {"it could not be read", "его не удалось прочитать"},
    {"it is larger than any replay", "он больше любого повтора"},
    {"it is not a Zonky Mosaro replay", "это не повтор игры Zonky Mosaro"},
    {"line %1 is longer than %2 bytes", "строка %1 длиннее %2 байт"},
    {"line %1: %2", "строка %1 повреждена"},
    {"the file ends before the game does: it is truncated",
     "файл кончается раньше игры: он обрезан"},
}};

void SetText(QAction* action, UiId id, std::uint8_t language) {
    if (action) action->setText(UiText(id, language));
}

void SetAboutTexts(QDialog& dialog, QLabel& webLink, QLabel& mailLink, std::uint8_t language) {
    dialog.setWindowTitle(UiText(UiId::About, language));
    webLink.setText(UiText(UiId::WebPage, language));
    mailLink.setText(
        QString::fromUtf8(kSupportMail.data(), static_cast<qsizetype>(kSupportMail.size())));
}

}  // namespace

std::string_view UiTextUtf8(UiId id, std::uint8_t language) {
    const auto row = static_cast<std::size_t>(id);
    return UiStrings.at(row)[language == 1 ? 1 : 0];
}

QString UiText(UiId id, std::uint8_t language) {
    const std::string_view text = UiTextUtf8(id, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ReplayText(ReplayTextId id, std::uint8_t language) {
    const std::string_view text =
        ReplayTexts.at(static_cast<std::size_t>(id))[language == 1 ? 1 : 0];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ReplayProblemText(ReplayProblem problem, long line, std::string_view detail,
                          std::uint8_t language) {
    const std::string_view words =
        ReplayProblemTexts.at(static_cast<std::size_t>(problem) - 1)[language == 1 ? 1 : 0];
    const QString text = QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
    switch (problem) {
        case ReplayProblem::LineTooLong:
            return text.arg(line).arg(kMaxScriptLineBytes);
        case ReplayProblem::BadLine:
            return language == 1 ? text.arg(line)
                                 : text.arg(line).arg(QString::fromUtf8(
                                       detail.data(), static_cast<qsizetype>(detail.size())));
        default:
            return text;
    }
}

QString Form2MessageLine(std::uint8_t language) {
    return UiText(UiId::CheckOutOther, language) + QLatin1Char(' ') +
           UiText(UiId::InterestingGames, language);
}

void ApplyLanguage(std::uint8_t uiLanguage, const LanguageTargets& targets) {
    const std::uint8_t l = uiLanguage;
    const MainMenuItems& menu = targets.Menu;
    if (menu.Game1) menu.Game1->setTitle(UiText(UiId::Game, l));
    SetText(menu.New, UiId::New, l);
    SetText(menu.Pause1, UiId::Pause, l);
    SetText(menu.Classic1, UiId::Classic, l);
    SetText(menu.Dedadidavaza1, UiId::Dedadidavaza, l);
    SetText(menu.Zonky1, UiId::Zonky, l);
    SetText(menu.Options, UiId::Options, l);
    SetText(menu.hiScore1, UiId::HiScore, l);
    SetText(menu.Exit1, UiId::Exit, l);
    SetText(menu.About1, UiId::About, l);

    if (TOpForm* form = targets.OpForm) {
        const Ui::TOpForm& ui = form->Controls();
        ui.Label1->setText(UiText(UiId::Rotate, l));
        ui.CheckBox1->setText(UiText(UiId::Music, l));
        ui.CheckBox2->setText(UiText(UiId::Sound, l));
        ui.Language->setText(UiText(UiId::Language, l));
        ui.ButtonCancel->setText(UiText(UiId::Cancel, l));
    }
    if (TInputName* form = targets.InputName) {
        form->Controls().Label1->setText(UiText(UiId::InputYourName, l));
        form->setWindowTitle(UiText(UiId::RecordEstablished, l));
    }
    if (THiScoreForm* form = targets.HiScoreForm) {
        const Ui::THiScoreForm& ui = form->Controls();
        form->setWindowTitle(UiText(UiId::BestPlayers, l));
        ui.Label1->setText(UiText(UiId::Name, l));
        ui.Label2->setText(UiText(UiId::Level, l));
        ui.Label3->setText(UiText(UiId::Score, l));
    }
    if (TAboutFormEng* form = targets.AboutFormEng)
        SetAboutTexts(*form, *form->Controls().Label7, *form->Controls().Label6, l);
    if (TAboutFormRus* form = targets.AboutFormRus)
        SetAboutTexts(*form, *form->Controls().Label7, *form->Controls().Label6, l);
    if (TForm2* form = targets.Form2) {
        form->setWindowTitle(UiText(UiId::Welcome, l));
        form->Controls().Label4->setText(Form2MessageLine(l));
    }
}

void SetGoodByeTexts(TForm2& form, std::uint8_t uiLanguage) {
    form.setWindowTitle(UiText(UiId::GoodBye, uiLanguage));
    form.Controls().Label4->setText(Form2MessageLine(uiLanguage));
}

}  // namespace zonky

namespace zonky {
namespace {

// Why a save failed, in English and Russian; the system's own words for a failure not named.
struct FailureText {
    WriteFailure failure;
    int error;  // for System failures
    std::string_view english;
    std::string_view russian;
};
constexpr FailureText kFailureTexts[] = {
    {WriteFailure::Locked, 0, "another copy of the game kept the file locked",
     "другая копия игры не отпускала файл"},
    {WriteFailure::LockRefused, 0, "its lock file could not be taken",
     "не удалось занять его файл блокировки"},
    {WriteFailure::Unreadable, 0, "the file there could not be read",
     "файл на диске не удалось прочитать"},
    {WriteFailure::UnreadableAtStart, 0, "the file could not be read when the game started",
     "файл не удалось прочитать при запуске игры"},
    {WriteFailure::NotRegular, 0, "there is no regular file under that name",
     "под этим именем лежит не обычный файл"},
    {WriteFailure::System, ENOSPC, "the disk is full", "на диске нет места"},
    {WriteFailure::System, EDQUOT, "the disk quota is used up", "исчерпана дисковая квота"},
    {WriteFailure::System, EROFS, "the folder is read-only", "папка доступна только для чтения"},
    {WriteFailure::System, EACCES, "you may not write there", "нет прав на запись"},
    {WriteFailure::System, EPERM, "you may not write there", "нет прав на запись"},
    {WriteFailure::System, EIO, "the disk failed to write", "ошибка записи на диск"},
};

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString UnsavedResultsText(std::uint8_t uiLanguage, int count, const QString& file,
                           const FileWriteResult& failed) {
    const bool russian = uiLanguage == 1;
    QString why = QString::fromStdString(failed.reason);
    for (const FailureText& text : kFailureTexts)
        if (text.failure == failed.failure &&
            (text.failure != WriteFailure::System || text.error == failed.error))
            why = Utf8(russian ? text.russian : text.english);
    if (count == 1)
        return (russian ? Utf8("Ваш результат не удалось сохранить в файл %1: %2.\n\n"
                               "Игра закрывается, и этот рекорд потерян.")
                        : QString("Your result could not be saved to %1: %2.\n\n"
                                  "The game is closing, so this record is lost."))
            .arg(file, why);
    return (russian ? Utf8("Результаты (%3) не удалось сохранить в файл %1: %2.\n\n"
                           "Игра закрывается, и эти рекорды потеряны.")
                    : QString("%3 results could not be saved to %1: %2.\n\n"
                              "The game is closing, so these records are lost."))
        .arg(file, why, QString::number(count));
}

}  // namespace zonky
