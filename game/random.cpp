#include "game/random.h"

#include <chrono>

namespace zonky {

int SystemRandom::Draw(int n) {
    if (n <= 1) {
        engine_.discard(1);  // every draw takes a number, even a draw from 1
        return 0;
    }
    std::uniform_int_distribution<int> pick(0, n - 1);
    return pick(engine_);
}

std::uint32_t SystemRandom::TimeOfDaySeed() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
}

int ScriptedRandom::Draw(int n) {
    if (queue_.empty()) throw OutOfDraws();
    const std::uint64_t value = queue_.front();
    queue_.pop_front();
    sizes_.push_back(n);
    return n > 0 ? static_cast<int>(value % static_cast<std::uint64_t>(n)) : 0;
}

}  // namespace zonky
