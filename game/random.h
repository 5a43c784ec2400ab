// The program's random generator: seeded once, uniform draws.
#pragma once

#include <cstdint>
#include <random>

#include "game/ports.h"

namespace zonky {

class SystemRandom : public Random {
  public:
    explicit SystemRandom(std::uint32_t seed) : engine_(seed) {}
    int Draw(int n) override;

    // The seed the program uses: milliseconds since midnight, read once at start.
    static std::uint32_t TimeOfDaySeed();

  private:
    std::mt19937 engine_;
};

}  // namespace zonky
