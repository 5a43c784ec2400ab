// Writes a picture of every dialog in both languages when ZONKY_SCREENSHOT_DIR names a
// folder, at the scale of QT_SCALE_FACTOR; otherwise it is skipped.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <gtest/gtest.h>

#include "tests/shell/all_dialogs.h"

namespace zonky {
namespace {

void FillTable(HiScoreTable& table) {
    const char* names[] = {"Ann",
                           "\xC8\xE2\xE0\xED \xCF\xE5\xF2\xF0\xEE\xE2",  // Иван Петров
                           "WWWWWWWWWWWWWWWWWWWWWWWWW",
                           "Bob",
                           "Zoe",
                           "Max",
                           "Li",
                           "Eve",
                           "Tom",
                           "Kim"};
    for (int k = 0; k < 10; ++k)
        InsertHiScore(table, 2, 98765 - 7654 * k, k == 0 ? 128 : 8 - k % 8, names[k], k * 2);
    InsertHiScore(table, 2, 50000, 6, "Newest", 24);
    InsertHiScore(table, 1, 1200, 3, "Only one", 5);
}

// The offscreen platform draws no window frame, so the picture gets a title strip of its
// own: the caption is part of what has to look right in both languages.
QPixmap WithTitle(QDialog& dialog) {
    const QPixmap client = dialog.grab();
    const int strip = 22;
    QPixmap picture(client.width(), client.height() + qRound(strip * client.devicePixelRatio()));
    picture.setDevicePixelRatio(client.devicePixelRatio());
    picture.fill(QColor(60, 90, 150));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(6, 0, dialog.width() - 12, strip), Qt::AlignVCenter | Qt::AlignLeft,
                     dialog.windowTitle());
    painter.drawPixmap(0, strip, client);
    return picture;
}

TEST(Screenshots, EveryDialogInBothLanguages) {
    const QByteArray dir = qgetenv("ZONKY_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set ZONKY_SCREENSHOT_DIR to write the pictures";
    ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(dir)));
    const int scale = qRound(qGuiApp->devicePixelRatio());

    AllDialogs d;
    FillTable(d.table);
    for (std::uint8_t language : {0, 1}) {
        d.settings.UiLanguage = language;
        ApplyLanguage(language, d.Targets());
        d.InputName.Controls().Edit1->setText(language ? QString::fromUtf8("Иван Петров")
                                                       : QString("Ann"));
        const auto save = [&](QDialog& dialog, const QString& name) {
            dialog.show();
            const QString file = QStringLiteral("%1/%2_%3_%4x.png")
                                     .arg(QString::fromLocal8Bit(dir), name,
                                          language ? QStringLiteral("ru") : QStringLiteral("en"))
                                     .arg(scale);
            EXPECT_TRUE(WithTitle(dialog).save(file)) << file.toStdString();
            dialog.hide();
        };
        save(d.OpForm, "options");
        save(d.InputName, "input_name");
        d.HiScoreForm.ShowTab(2);
        save(d.HiScoreForm, "hiscore");
        save(d.AboutFormEng, "about_eng");
        save(d.AboutFormRus, "about_rus");
        save(d.Form2, "form2_welcome");
        SetGoodByeTexts(d.Form2, language);
        save(d.Form2, "form2_goodbye");
    }
}

}  // namespace
}  // namespace zonky
