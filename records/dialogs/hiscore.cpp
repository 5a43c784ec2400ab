#include "records/dialogs/hiscore.h"

#include <QContextMenuEvent>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>

#include <algorithm>
#include <string_view>

#include "records/dialogs/dialog_support.h"
#include "records/name_codec.h"

namespace zonky {
namespace {

// The tabs carry the mode names in both languages; tab index + 1 is the game mode.
constexpr std::array<std::string_view, HiScoreTable::kLists> kTabTexts = {"Classic", "Dedadidavaza",
                                                                          "Zonky"};

struct RowColumn {
    int left;
    int width;
    Qt::Alignment alignment;
};

// Name, level and score columns of the rows. The score column is centred where the layout
// has it but wide enough for any stored score, sign included.
constexpr std::array<RowColumn, 3> kRowColumns = {{
    {45, 200, Qt::AlignLeft | Qt::AlignTop},
    {265, 36, Qt::AlignHCenter | Qt::AlignTop},
    {301, 88, Qt::AlignHCenter | Qt::AlignTop},
}};
constexpr int kRowPitch = 35;
constexpr int kRowImageTop = 16;
constexpr int kRowImageLeft = 8;
constexpr int kRowLabelTop = 23;
constexpr int kRowLabelHeight = 17;
constexpr int kAvatarSize = 32;

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

THiScoreForm::THiScoreForm(const HiScoreTable& table, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      table_(table) {
    ui_.setupUi(this);
    for (std::string_view text : kTabTexts) ui_.hitable->Tabs()->addTab(ToQString(text));
    connect(ui_.BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    QFont rowFont(QStringLiteral("Courier New"), 10, QFont::Bold);
    for (int k = 1; k <= HiScoreTable::kEntries; ++k) {
        const auto at = static_cast<std::size_t>(k - 1);
        auto* image = new QLabel(ui_.hitable);
        image->setGeometry(kRowImageLeft, kRowPitch * k + kRowImageTop, kAvatarSize, kAvatarSize);
        rowImages_[at] = image;
        image->setProperty("hiScoreRow", k);
        image->installEventFilter(this);
        for (std::size_t column = 0; column < kRowColumns.size(); ++column) {
            auto* label = new QLabel(ui_.hitable);
            label->setGeometry(kRowColumns[column].left, kRowPitch * k + kRowLabelTop,
                               kRowColumns[column].width, kRowLabelHeight);
            label->setAlignment(kRowColumns[column].alignment);
            label->setFont(rowFont);
            label->setTextFormat(Qt::PlainText);
            rowLabels_[column][at] = label;
            label->setProperty("hiScoreRow", k);
            label->installEventFilter(this);
        }
    }
    connect(ui_.hitable->Tabs(), &QTabBar::currentChanged, this, &THiScoreForm::FillHiScoreRows);
}

void THiScoreForm::ShowTab(int gameMode) {
    hiScoreTab_ = std::clamp(gameMode, 1, HiScoreTable::kLists);
    if (!isVisible()) {
        show();  // the show handler selects the tab and fills the rows
        return;
    }
    if (isMinimized()) showNormal();
    SelectTab();
    raise();
    activateWindow();
}

void THiScoreForm::showEvent(QShowEvent* event) {
    SetStandardIcon(*ui_.BitBtn1, QStyle::SP_DialogOkButton);
    // A restore from minimised is a show by the window system, not an opening.
    if (!event->spontaneous()) {
        CentreOverOwner(*this);
        SelectTab();
        FocusFirstControl(*this);
    }
    QDialog::showEvent(event);
}

void THiScoreForm::SelectTab() {
    QTabBar* tabs = ui_.hitable->Tabs();
    const int index = hiScoreTab_ - 1;
    // Selecting another tab fills the rows through its signal; the same tab does not signal.
    if (tabs->currentIndex() != index)
        tabs->setCurrentIndex(index);
    else
        FillHiScoreRows();
}

void THiScoreForm::FillHiScoreRows() {
    const int mode = ui_.hitable->Tabs()->currentIndex() + 1;
    if (!HiScoreTable::ValidMode(mode)) return;
    const int newest = table_.ShownNewest(mode);
    rowsWithReplay_ = offer_.rows ? offer_.rows(mode) : 0;
    const QString tooltip = rowsWithReplay_ != 0 && offer_.tooltip ? offer_.tooltip() : QString();
    for (int k = 1; k <= HiScoreTable::kEntries; ++k) {
        QLabel* image = RowImage(k);
        QLabel* name = RowLabel(NameColumn, k);
        QLabel* level = RowLabel(LevelColumn, k);
        QLabel* score = RowLabel(ScoreColumn, k);
        image->clear();
        const std::int32_t finalLevel = table_.FinalLevel(mode, k);
        if (!table_.Filled(mode, k)) {
            name->clear();
            level->clear();
            score->clear();
            continue;
        }
        // A bad stored avatar shows no picture.
        image->setPixmap(imageList1_.Picture(table_.ShownAvatar(mode, k)));
        name->setText(ToQString(Cp1251ToUtf8(table_.ShownName(mode, k))));
        // A level no game ends on is shown as not known.
        if (!table_.KnownLevel(mode, k))
            level->setText(QStringLiteral("?"));
        else
            level->setText(finalLevel == kWonLevel ? QStringLiteral("Won")
                                                   : QString::number(finalLevel));
        score->setText(QString::number(table_.ShownScore(mode, k)));
        const bool kept = (rowsWithReplay_ >> (k - 1) & 1U) != 0;
        for (QLabel* part : {image, name, level, score})
            part->setToolTip(kept ? tooltip : QString());
        QFont nameFont = name->font();
        nameFont.setBold(false);
        nameFont.setUnderline(k == newest);
        name->setFont(nameFont);
    }
}

bool THiScoreForm::WatchRow(int k) {
    const int mode = ui_.hitable->Tabs()->currentIndex() + 1;
    if (!offer_.watch || k < 1 || k > HiScoreTable::kEntries) return false;
    if ((rowsWithReplay_ >> (k - 1) & 1U) == 0) return false;
    accept();
    offer_.watch(mode, k);
    return true;
}

bool THiScoreForm::eventFilter(QObject* watched, QEvent* event) {
    const int k = watched->property("hiScoreRow").toInt();
    if (k == 0 || (rowsWithReplay_ >> (k - 1) & 1U) == 0)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) return WatchRow(k);
    if (event->type() == QEvent::ContextMenu && offer_.action) {
        QMenu menu(this);
        const QAction* watch = menu.addAction(offer_.action());
        if (menu.exec(static_cast<QContextMenuEvent*>(event)->globalPos()) == watch) WatchRow(k);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zonky
