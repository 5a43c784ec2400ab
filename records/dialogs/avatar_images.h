// The 25 avatar pictures (32 x 32 with alpha) that the best-players and name dialogs show.
#pragma once

#include <QPixmap>

#include <array>

#include "records/hiscore_table.h"

namespace zonky {

class AvatarImages {
  public:
    // The pictures come from the program's resources, each when it is first asked for, so
    // that making the dialogs decodes none; a missing one stays empty.
    AvatarImages() = default;

    static constexpr int Count() { return HiScoreTable::kAvatarCount; }
    // Picture n (0..24); an empty picture for any other n.
    const QPixmap& Picture(int n) const;

  private:
    mutable std::array<QPixmap, HiScoreTable::kAvatarCount> pictures_;
    mutable std::array<bool, HiScoreTable::kAvatarCount> loaded_{};
    QPixmap none_;
};

}  // namespace zonky
