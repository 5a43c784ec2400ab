// The game recorded is the game zonky-replay plays back: random games with every kind of
// call, recorded beside the engine, run as scripts by the tool and end in the same state.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

#include "game/replay_recorder.h"
#include "tools/replay/replay_session.h"

namespace zonky::test {
namespace {

struct StepClock : Clock {
    std::int64_t now = 0;
    std::int64_t step = 1000;
    std::int64_t NowMs() override { return now += step; }
};

std::string StateOf(const GameState& state) {
    JsonWriter json;
    json.BeginObject();
    WriteGameState(json, state);
    json.EndObject();
    return json.str();
}

struct Recorded {
    std::string script;
    std::string finalState;
};

// Takes each finished game's replay as the window does, at its game over.
struct TakingHost : NullHost {
    ReplayRecorder* recorder = nullptr;
    const GameState* state = nullptr;
    Recorded last;
    void GameOver(const GameResult&) override {
        if (!recorder->Finished()) return;
        ReplayHeader header;
        header.program = "test";
        header.player = "Anna";
        last = {recorder->Take(header), StateOf(*state)};
    }
};

// One game in `mode` from a seeded generator, with every call a window makes: ticks at two
// paces, all keys with modifiers, pause, minimise, Escape, a turning direction, sound and
// language changed mid-game; it ends by filling the well or, after `calls`, by `ending`.
Recorded PlayOne(std::uint32_t seed, int mode, int calls, void (Game::*ending)()) {
    TakingHost host;
    SystemRandom system(seed);
    StepClock clock;
    ReplayRecorder recorder(system, clock);
    Game game(host, recorder);
    recorder.Attach(game);
    host.recorder = &recorder;
    host.state = &game.state;
    std::mt19937 choose(seed);
    // A game before this one, ended in a fast drop, leaves the drop to the next one.
    game.NewClick();
    for (int k = 0; k < 3; ++k) game.Timer1Timer();
    game.Edit1KeyDown(kKeySpace, {});
    (game.*(mode == kClassic ? &Game::Classic1Click
            : mode == kZonky ? &Game::Zonky1Click
                             : &Game::Dedadidavaza1Click))();
    constexpr int kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeySpace};
    for (int k = 0; k < calls && (game.state.Running || game.state.Paused); ++k) {
        const unsigned r = choose() % 100;
        clock.step = r % 2 ? 1000 : 100;
        if (r < 60) {
            game.Timer1Timer();
        } else if (r < 93) {
            game.Edit1KeyDown(kKeys[choose() % 5],
                              {choose() % 3 == 0, choose() % 5 == 0, choose() % 7 == 0});
        } else if (r < 95) {
            game.Pause1Click();
        } else if (r < 96) {
            game.HideMainForm();
        } else if (r < 97) {
            game.Edit1KeyDown(kKeyEscape, {});
        } else {
            game.settings.RotateClockwise ^= 1;
            game.settings.SoundOn ^= r % 2;
            game.settings.UiLanguage ^= r % 3 == 0;
        }
    }
    if (game.state.Running || game.state.Paused) (game.*ending)();
    return host.last;
}

int PlayBack(const std::string& script, std::string& finalState, std::string& errors) {
    ReplaySession session;
    std::istringstream in(script);
    std::ostringstream out, err;
    const int status = RunScript(in, out, err, session);
    finalState = StateOf(session.game().state);
    errors = err.str();
    return status;
}

TEST(ReplayRecording, EveryRecordedGameReplaysToTheSameState) {
    void (Game::*endings[])() = {&Game::NewClick, &Game::Exit1Click, &Game::Zonky1Click};
    int filled = 0;
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        const int calls = seed % 4 == 0 ? 1'000'000 : 150 + static_cast<int>(seed) * 40;
        const Recorded game = PlayOne(seed, 1 + seed % 3, calls, endings[seed % 3]);
        filled += calls == 1'000'000;
        std::string replayed, errors;
        ASSERT_EQ(PlayBack(game.script, replayed, errors), 0) << "seed " << seed << ": " << errors;
        EXPECT_EQ(replayed, game.finalState) << "seed " << seed;
        // The script parses as a replay whose header tells the game's result.
        const ReplayParse parse = ParseReplay(game.script);
        ASSERT_TRUE(parse.replay) << parse.line << ": " << parse.error;
        EXPECT_EQ(parse.replay->header.player, "Anna");
        EXPECT_EQ(parse.replay->header.mode, 1 + static_cast<int>(seed) % 3);
    }
    EXPECT_EQ(filled, 6);
}

// The game takes another road: the tool stops where the draws or a check tell it.
TEST(ReplayRecording, ADrawOutOfPlaceStopsTheTool) {
    const Recorded game = PlayOne(7, kZonky, 1'000'000, &Game::Exit1Click);
    // Swap the first two different draws of the first line with more than one.
    std::string script = game.script;
    const std::size_t at = script.find("\ndraws ") + 7;
    const std::size_t end = script.find('\n', at);
    std::istringstream words(script.substr(at, end - at));
    std::vector<std::string> draws{std::istream_iterator<std::string>(words), {}};
    const auto other = std::find_if(draws.begin(), draws.end(),
                                    [&](const std::string& d) { return d != draws.front(); });
    ASSERT_NE(other, draws.end());
    std::iter_swap(draws.begin(), other);
    std::string line;
    for (const std::string& d : draws) line += (line.empty() ? "" : " ") + d;
    script.replace(at, end - at, line);
    std::string replayed, errors;
    EXPECT_EQ(PlayBack(script, replayed, errors), 2);
    EXPECT_TRUE(errors.find("the game differs from the replay's") != std::string::npos ||
                errors.find("out of draws") != std::string::npos)
        << errors;
}

}  // namespace
}  // namespace zonky::test
