// The hot paths (a tick, a key, the rules) must not touch the heap: count every allocation
// made while a game is played.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "game/game.h"
#include "game/movement.h"
#include "game/random.h"

// The replaced operators pair new with malloc and delete with free, which GCC cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
std::atomic<long> gAllocations{0};
std::atomic<bool> gCounting{false};
}  // namespace

void* operator new(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zonky {
namespace {

class Counting {
  public:
    Counting() {
        gAllocations = 0;
        gCounting = true;
    }
    ~Counting() { gCounting = false; }
    long count() const { return gAllocations; }
};

TEST(Allocation, PlayingGamesNeverAllocates) {
    NullHost host;
    SystemRandom random(2024);
    Game game(host, random);
    std::uint32_t x = 12345;
    auto next = [&x] {  // xorshift: the choice of commands must not allocate either
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace, kKeyEscape};
    int games = 0;
    long allocations = 0;
    {
        const Counting counting;
        for (int mode : {kClassic, kDedadidavaza, kZonky}) {
            game.state.GameMode = mode;
            game.NewGame();
            for (int step = 0; step < 200000; ++step) {
                const std::uint32_t r = next() % 100;
                if (r < 55) {
                    game.Timer1Timer();
                } else if (r < 98) {
                    game.Edit1KeyDown(kKeys[next() % 5], KeyModifiers{(next() & 1) != 0});
                } else if (r < 99) {
                    game.Pause1Click();
                } else {
                    game.Edit1KeyDown(kKeyEscape, {});
                    game.Pause1Click();
                }
                if (!game.state.Running && !game.state.Paused) {
                    ++games;
                    game.NewClick();
                }
            }
        }
        allocations = counting.count();
    }
    EXPECT_GT(games, 3);
    EXPECT_EQ(allocations, 0);
}

TEST(Allocation, TheCounterSeesAnAllocation) {
    long allocations = 0;
    {
        const Counting counting;
        auto* p = new int(3);
        allocations = counting.count();
        delete p;
    }
    EXPECT_EQ(allocations, 1);
}

}  // namespace
}  // namespace zonky
