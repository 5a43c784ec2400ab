// The random generators: the program's, seeded once, and a scripted one for tests and
// zonky-replay.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <vector>

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

// Draws from a queue of scripted values: each draw of n takes the next value V and answers
// V mod n. It remembers the n of every draw, so a test can see which draws the rules made.
class ScriptedRandom : public Random {
  public:
    class OutOfDraws : public std::runtime_error {
      public:
        OutOfDraws() : std::runtime_error("out of draws") {}
    };

    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<int> values) { Append(values); }
    void Append(std::uint64_t value) { queue_.push_back(value); }
    void Append(std::initializer_list<int> values) {
        for (int v : values) queue_.push_back(static_cast<std::uint64_t>(v));
    }
    int Draw(int n) override;
    std::size_t Remaining() const { return queue_.size(); }
    const std::vector<int>& Sizes() const { return sizes_; }

  private:
    std::deque<std::uint64_t> queue_;
    std::vector<int> sizes_;
};

}  // namespace zonky
