// Timer1: the game's periodic timer. A new interval restarts the period only when it differs
// from the current one (a bare QTimer restarts on every setInterval); enabling restarts it.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace zonky {

class GameTimer {
  public:
    explicit GameTimer(std::function<void()> tick) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
    }
    void SetInterval(int ms) {
        if (ms != timer_.interval()) timer_.setInterval(ms);
    }
    void SetEnabled(bool enabled) {
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    }
    int Interval() const { return timer_.interval(); }
    bool Enabled() const { return timer_.isActive(); }

  private:
    QTimer timer_;
};

}  // namespace zonky
