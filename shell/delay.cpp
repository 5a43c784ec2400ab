#include "shell/delay.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace zonky {

void Delay(int ms) {
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(deadline.remainingTime(), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

}  // namespace zonky
