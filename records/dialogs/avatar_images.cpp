#include "records/dialogs/avatar_images.h"

#include <QString>

namespace zonky {

const QPixmap& AvatarImages::Picture(int n) const {
    if (n < 0 || n >= Count()) return none_;
    const auto at = static_cast<std::size_t>(n);
    if (!loaded_[at]) {
        pictures_[at] =
            QPixmap(QStringLiteral(":/avatars/avatar%1.png").arg(n, 2, 10, QLatin1Char('0')));
        loaded_[at] = true;
    }
    return pictures_[at];
}

}  // namespace zonky
