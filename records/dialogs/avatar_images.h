// The 25 avatar pictures (32 x 32 with alpha) that the best-players and name dialogs show.
#pragma once

#include <QPixmap>

#include <array>

#include "records/hiscore_table.h"

namespace zonky {

class AvatarImages {
  public:
    // Loads the pictures from the program's resources; a missing one stays empty.
    AvatarImages();

    static constexpr int Count() { return HiScoreTable::kAvatarCount; }
    // Picture n (0..24); an empty picture for any other n.
    const QPixmap& Picture(int n) const;

  private:
    std::array<QPixmap, HiScoreTable::kAvatarCount> pictures_;
    QPixmap none_;
};

}  // namespace zonky
