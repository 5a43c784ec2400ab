// Every caption fits its control in both languages, with the fonts the program uses; every
// showing starts at the first control.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>

#include "records/dialogs/tab_control.h"

#include <gtest/gtest.h>

#include "tests/shell/all_dialogs.h"

namespace zonky {
namespace {

QString WithoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

// Widgets the player sees: shown when the dialog is, with a caption.
std::vector<QWidget*> ShownCaptioned(QDialog& dialog) {
    std::vector<QWidget*> widgets;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog)) continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
            widgets.push_back(w);
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty())
            widgets.push_back(w);
    }
    return widgets;
}

std::string Describe(const QWidget* w, const QString& text) {
    return (w->window()->objectName() + "." + w->objectName() + " \"" + text + "\"").toStdString();
}

void ExpectFits(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QFontMetrics fm(label->font());
        const QRect room = label->contentsRect();
        const QString text = label->text();
        EXPECT_LE(fm.horizontalAdvance(text), room.width()) << Describe(w, text);
        EXPECT_LE(fm.height(), room.height()) << Describe(w, text);
        return;
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        // Their size hint is the indicator, its spacing and the text, nothing more.
        EXPECT_LE(w->sizeHint().width(), w->width())
            << Describe(w, static_cast<QAbstractButton*>(w)->text());
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        const QFontMetrics fm(button->font());
        const int margins = 2 * (button->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                                 button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        EXPECT_LE(fm.horizontalAdvance(WithoutMnemonic(button->text())) + icon + margins,
                  button->width())
            << Describe(w, button->text());
    }
}

TEST(DialogLayout, NoCaptionIsCutOffInEitherLanguage) {
    AllDialogs d;
    // A best-players list with the widest content a row can hold.
    for (int k = 0; k < 10; ++k) InsertHiScore(d.table, 1, 99999 - k, 128, std::string(25, 'W'), k);
    for (std::uint8_t language : {0, 1}) {
        SCOPED_TRACE(language == 0 ? "English" : "Russian");
        ApplyLanguage(language, d.Targets());
        d.HiScoreForm.ShowTab(1);
        for (QDialog* dialog : d.Dialogs()) {
            dialog->show();  // as the player sees it, with the icons it takes when shown
            for (QWidget* w : ShownCaptioned(*dialog)) ExpectFits(w);
            if (dialog != &d.HiScoreForm) dialog->hide();
        }
        const QTabBar* tabs = d.HiScoreForm.Controls().hitable->Tabs();
        EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width());
        d.HiScoreForm.close();
    }
}

// Each showing puts the keys on the dialog's first control, wherever the player left them.
TEST(DialogFocus, EveryShowingStartsAtTheFirstControl) {
    AllDialogs d;
    const std::pair<QDialog*, QWidget*> firsts[] = {
        {&d.OpForm, d.OpForm.Controls().CheckBox2},
        {&d.InputName, d.InputName.Controls().Edit1},
        {&d.HiScoreForm, d.HiScoreForm.Controls().hitable->Tabs()},
        {&d.AboutFormRus, d.AboutFormRus.Controls().Button1},
        {&d.Form2, d.Form2.Controls().Button1},
        {&d.AboutFormEng, d.AboutFormEng.Controls().Button1},
    };
    for (const auto& [dialog, first] : firsts) {
        SCOPED_TRACE(dialog->metaObject()->className());
        dialog->show();
        EXPECT_EQ(dialog->focusWidget(), first);
        // The player moves on through every control and closes the dialog.
        for (QWidget* w = first->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible()) w->setFocus();
        dialog->hide();
        dialog->show();
        EXPECT_EQ(dialog->focusWidget(), first);
        dialog->hide();
    }
}

TEST(DialogLayout, ClientAreasHaveTheirFixedSizes) {
    AllDialogs d;
    const std::pair<QDialog*, QSize> sizes[] = {
        {&d.OpForm, {257, 122}},       {&d.InputName, {208, 143}},    {&d.HiScoreForm, {402, 444}},
        {&d.AboutFormRus, {297, 153}}, {&d.AboutFormEng, {297, 154}}, {&d.Form2, {279, 281}},
    };
    for (auto [dialog, size] : sizes) {
        dialog->show();
        EXPECT_EQ(dialog->size(), size) << dialog->objectName().toStdString();
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize())
            << dialog->objectName().toStdString();
        dialog->close();
    }
    EXPECT_EQ(d.OpForm.objectName(), "OpForm");
    EXPECT_EQ(d.HiScoreForm.objectName(), "HiScoreForm");
}

}  // namespace
}  // namespace zonky
