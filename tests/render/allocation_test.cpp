// Drawing during play (moves, landings, row removal, repaints, composing the screen) never
// touches the heap.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdint>

#include "tests/render/render_support.h"
#include "tests/support/allocation_counter.h"

namespace zonky::test {
namespace {

TEST(Allocation, DrawingWhilePlayingNeverAllocates) {
    DrawnGame g(SyntheticPictures(), 77);
    std::uint32_t x = 99;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace};
    long allocations = 0;
    int games = 0;
    {
        const Counting counting;
        for (int mode : {kClassic, kDedadidavaza, kZonky}) {
            g.game.state.GameMode = mode;
            g.game.NewGame();
            for (int step = 0; step < 20000; ++step) {
                if (next() % 2)
                    g.game.Timer1Timer();
                else
                    g.game.Edit1KeyDown(kKeys[next() % 5], {});
                if (step % 97 == 0) g.renderer.InvalidateAll();
                g.renderer.Flush();
                g.renderer.Compose();
                if (!g.game.state.Running) {
                    ++games;
                    g.game.NewGame();
                }
            }
        }
        allocations = counting.count();
    }
    EXPECT_GT(games, 2);
    EXPECT_EQ(allocations, 0);
}

}  // namespace
}  // namespace zonky::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
