// Sound output on SDL's dummy driver, which plays queued bytes at the real rate.
#include "shell/sound_player.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <future>

namespace zonky {
namespace {

// Bytes of a sound of this length in the device's format (16-bit stereo).
std::uint32_t BytesFor(double seconds) {
    return static_cast<std::uint32_t>(seconds * SoundPlayer::kRate) * SoundPlayer::kChannels * 2;
}

// Opening and closing happen on the player's own thread: waits for them, within reason.
template <typename Condition>
bool WaitUntil(Condition condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 5000) return false;
        QTest::qWait(10);
    }
    return true;
}

bool WaitForDevice(SoundPlayer& player) {
    return WaitUntil([&player] { return player.HasDevice(); });
}

using Clock = std::chrono::steady_clock;

TEST(SoundPlayer, ANewSoundCutsTheOneStillPlaying) {
    SoundPlayer player;
    player.Keep(true);
    ASSERT_TRUE(WaitForDevice(player));
    player.Play(SoundEffect::Upal, false);
    const std::uint32_t upal = player.Queued();
    EXPECT_GT(upal, BytesFor(0.06));
    EXPECT_LT(upal, BytesFor(0.12));
    player.Play(SoundEffect::Fire, false);  // in the same moment: only Fire is left
    const std::uint32_t fire = player.Queued();
    EXPECT_GT(fire, BytesFor(0.6));
    EXPECT_LT(fire, BytesFor(0.75));
    player.Play(SoundEffect::Space, false);
    EXPECT_LT(player.Queued(), BytesFor(0.2));
}

// Also when no device is open yet: the wait covers the opening.
TEST(SoundPlayer, TheLevelSoundIsHeardToItsEndBeforePlayReturns) {
    SoundPlayer player;
    ASSERT_FALSE(player.HasDevice());
    QElapsedTimer clock;
    clock.start();
    player.Play(SoundEffect::LevelFin, true);
    EXPECT_GE(clock.elapsed(), 2200);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_EQ(player.Queued(), 0u);
    clock.restart();
    player.Play(SoundEffect::Upal, false);
    EXPECT_LT(clock.elapsed(), 200);
}

// A sound server that stops taking data: SDL's disk driver writing into a pipe nobody reads.
TEST(SoundPlayer, TheLevelSoundWaitsNoLongerThanItsLengthWhenTheDeviceStalls) {
    const QTemporaryDir dir;
    const std::string pipe = dir.filePath("device").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    signal(SIGPIPE, SIG_IGN);  // the device's writes fail once the pipe is closed
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QByteArray::fromStdString(pipe));
    {
        SoundPlayer player;
        player.Keep(true);
        const bool opened = WaitForDevice(player);
        qputenv("SDL_AUDIODRIVER", "dummy");
        if (!opened) {
            close(reader);
            GTEST_SKIP() << "SDL has no disk audio driver here";
        }
        auto waited =
            std::async(std::launch::async, [&player] { player.Play(SoundEffect::LevelFin, true); });
        if (waited.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the window waited on a stalled device for ever";
            std::_Exit(1);  // the waiting thread cannot be stopped
        }
        EXPECT_GT(player.Queued(), 0u) << "the device did not stall";
        close(reader);
    }
}

TEST(SoundPlayer, ASoundAskedForWithoutADeviceWaitsForOneAndIsHeardFromItsStart) {
    SoundPlayer player;  // no sound could come until now: no device
    QElapsedTimer clock;
    clock.start();
    player.Play(SoundEffect::Fire, false);
    EXPECT_LT(clock.elapsed(), 200);  // nothing waits for the opening
    ASSERT_TRUE(WaitForDevice(player));
    EXPECT_GT(player.Queued(), BytesFor(0.5));  // of 0.711 s: it started with the device
}

TEST(SoundPlayer, TheDeviceIsHeldWhileASoundMayComeAndGivenBackAfterASilence) {
    SoundPlayer player;
    const Clock::time_point start = Clock::now();
    player.Keep(false, start);
    player.Keep(true, start);  // a game starts: the device opens ahead of need
    ASSERT_TRUE(WaitForDevice(player));
    const Clock::time_point over = start + std::chrono::seconds(60);
    player.Keep(true, over);  // the game's last tick
    player.Keep(false, over);
    player.Keep(false, over + SoundPlayer::kReleaseAfter - std::chrono::milliseconds(1));
    EXPECT_TRUE(player.HasDevice());
    player.Keep(false, over + SoundPlayer::kReleaseAfter);
    EXPECT_TRUE(WaitUntil([&player] { return !player.HasDevice(); }));
    EXPECT_EQ(player.Queued(), 0u);

    player.Keep(true, over + std::chrono::seconds(60));  // the next game: open again
    ASSERT_TRUE(WaitForDevice(player));
    player.Play(SoundEffect::Space, false);
    EXPECT_GT(player.Queued(), BytesFor(0.1));
}

TEST(SoundPlayer, ASoundStillPlayingKeepsTheDevice) {
    SoundPlayer player;
    player.Keep(true);
    ASSERT_TRUE(WaitForDevice(player));
    player.Play(SoundEffect::Fire, false);
    const Clock::time_point later = Clock::now() + std::chrono::seconds(60);
    player.Keep(false, later);  // no sound can come, but one is being heard
    EXPECT_TRUE(player.HasDevice());
    EXPECT_GT(player.Queued(), 0u);
    ASSERT_TRUE(WaitUntil([&player] { return player.Queued() == 0; }));
    player.Keep(false, later + std::chrono::milliseconds(10));  // its silence begins now
    EXPECT_TRUE(player.HasDevice());
    player.Keep(false, later + SoundPlayer::kReleaseAfter + std::chrono::milliseconds(10));
    EXPECT_TRUE(WaitUntil([&player] { return !player.HasDevice(); }));
}

}  // namespace
}  // namespace zonky
