// The best-players dialog: one tab per game mode over a shared panel of ten rows (avatar,
// name, level, score). Modeless; opened after a record and from the menu.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

#include "records/dialogs/avatar_images.h"
#include "records/hiscore_table.h"
#include "ui_hiscore.h"

class QLabel;

namespace zonky {

class THiScoreForm : public QDialog {
    Q_OBJECT
  public:
    enum Column { NameColumn = 0, LevelColumn = 1, ScoreColumn = 2 };

    // The dialog reads the table each time it fills its rows; the table must outlive it.
    explicit THiScoreForm(const HiScoreTable& table, QWidget* parent = nullptr);

    const Ui::THiScoreForm& Controls() const { return ui_; }

    // Sets HiScoreTab to the game mode (1..3) and shows the dialog on that tab, filled from
    // the table. A dialog already open comes to the front, refreshed.
    void ShowTab(int gameMode);
    int HiScoreTab() const { return hiScoreTab_; }

    // Fills the rows from the list of the selected tab's mode.
    void FillHiScoreRows();

    // Rows whose game can be watched again. `rows` answers which rows of a mode have their
    // game kept (bit k-1 for row k), `watch` plays row k's; the texts come in the player's
    // language. Without an offer the rows are as they always were.
    struct ReplayOffer {
        std::function<std::uint32_t(int mode)> rows;
        std::function<void(int mode, int k)> watch;
        std::function<QString()> tooltip;
        std::function<QString()> action;
    };
    void OfferReplays(ReplayOffer offer) { offer_ = std::move(offer); }
    // Closes the dialog and plays the game of row k of the shown tab, if it is kept; what a
    // double-click on the row or the context menu's item does.
    bool WatchRow(int k);

    // Row k = 1..10.
    QLabel* RowImage(int k) const { return rowImages_.at(static_cast<std::size_t>(k - 1)); }
    QLabel* RowLabel(Column column, int k) const {
        return rowLabels_.at(column).at(static_cast<std::size_t>(k - 1));
    }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectTab();

    Ui::THiScoreForm ui_;
    const HiScoreTable& table_;
    AvatarImages imageList1_;
    int hiScoreTab_ = 1;
    std::array<QLabel*, HiScoreTable::kEntries> rowImages_{};
    std::array<std::array<QLabel*, HiScoreTable::kEntries>, 3> rowLabels_{};
    ReplayOffer offer_;
    std::uint32_t rowsWithReplay_ = 0;
};

}  // namespace zonky
