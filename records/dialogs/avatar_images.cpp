#include "records/dialogs/avatar_images.h"

#include <QString>

namespace zonky {

AvatarImages::AvatarImages() {
    for (int n = 0; n < Count(); ++n)
        pictures_[static_cast<std::size_t>(n)] =
            QPixmap(QStringLiteral(":/avatars/avatar%1.png").arg(n, 2, 10, QLatin1Char('0')));
}

const QPixmap& AvatarImages::Picture(int n) const {
    if (n < 0 || n >= Count()) return none_;
    return pictures_[static_cast<std::size_t>(n)];
}

}  // namespace zonky
