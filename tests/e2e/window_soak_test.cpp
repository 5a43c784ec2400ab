// The real window under random play for a bounded time: keys, menu commands, the Options
// and best-players dialogs, minimising and restoring, covering the window. After every
// step the program must answer (no crash, no hang), the game's invariants must hold, and
// the files in its directory must be whole.
//
// ZONKY_WINDOW_SOAK_SECONDS sets the time (90 s by default); ZONKY_WINDOW_SOAK_SEED
// repeats a run's choices (the timing of the game's own timer still differs).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "records/hiscore_format.h"
#include "tests/e2e/e2e_fixture.h"

namespace zonky::e2e {
namespace {

using Clock = std::chrono::steady_clock;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

// Whole files only: what is there under the game's names parses as a good file. A
// temporary file of a save in progress may come and go; it is checked at the end.
std::string BrokenFile(const fs::path& game) {
    if (const auto ini = ReadBytes(game / "ZonkyMos.Ini")) {
        if (ini->size() != 4) return "ZonkyMos.Ini has " + std::to_string(ini->size()) + " bytes";
        for (unsigned char c : *ini)
            if (c != '0' && c != '1') return "ZonkyMos.Ini holds something other than 0 and 1";
    }
    if (const auto dat = ReadBytes(game / "ZonkyMos.dat")) {
        if (dat->size() != kHiScoreFileSize)
            return "ZonkyMos.dat has " + std::to_string(dat->size()) + " bytes";
        if (ParseHiScoreFile(*dat).status != HiScoreFileStatus::Loaded)
            return "ZonkyMos.dat has a wrong checksum";
    }
    return "";
}

class WindowSoak : public EndToEnd {
  protected:
    std::mt19937 rng_;
    std::map<std::string, int> done_;  // how often each kind of step ran
    std::vector<std::string> trail_;   // the latest steps, for a failure's message

    void Did(const std::string& what, const std::string& detail = "") {
        ++done_[what];
        trail_.push_back(detail.empty() ? what : what + " " + detail);
        if (trail_.size() > 30) trail_.erase(trail_.begin());
    }
    std::string Trail() const {
        std::string text;
        for (const std::string& step : trail_) text += "\n  " + step;
        return text;
    }

    int Roll(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    std::string RandomName() {
        static const char* const kNames[] = {"Ann", "Боб", "X", "Пётр Ёлкин", "zz top", "Q1"};
        return kNames[Roll(6)];
    }
    // Answers a modal dialog the way a player might. Returns false for one that should
    // not be there.
    bool AnswerModal(const Json& d);
    void RandomStep(const Json& d, const std::string& main);
    // Covers part of the window and checks that, with nothing moving, it looks the same.
    void CoverAndCompare(const Json& d, const std::string& main);
};

bool WindowSoak::AnswerModal(const Json& d) {
    const std::string modal = d["modal"].text;
    const std::string window = std::to_string(d["modalWindow"].number);
    x_->Focus(window);
    if (modal == "zonky::TInputName") {
        Did("name typed");
        x_->Type(RandomName(), 10);
        Keys({"Return"});
    } else if (modal == "zonky::TOpForm") {
        Did("options closed");
        Keys({Roll(2) ? "Escape" : "Return"});
    } else if (modal == "zonky::TAboutFormEng" || modal == "zonky::TAboutFormRus") {
        Keys({"Escape"});
    } else {
        return false;
    }
    return true;
}

void WindowSoak::CoverAndCompare(const Json& d, const std::string& main) {
    const bool still = !d["running"].boolean && !d["inGameOver"].boolean &&
                       d["shown"].items.empty() && !d["window"]["minimised"].boolean;
    std::string geometry;
    x_->Xdotool({"getwindowgeometry", "--shell", main}, &geometry);
    const auto value = [&](const std::string& key) {
        const std::size_t at = geometry.find(key + "=");
        return at == std::string::npos ? 0 : std::atoi(geometry.c_str() + at + key.size() + 1);
    };
    const int x = value("X"), y = value("Y"), w = value("WIDTH"), h = value("HEIGHT");
    const fs::path before = work_->path() / "before.png";
    const fs::path after = work_->path() / "after.png";
    if (still) RunTool({"import", "-window", main, before.string()}, x_->Env());
    ASSERT_EQ(x_->Wm({"cover", std::to_string(x + Roll(std::max(1, w / 2))),
                      std::to_string(y + Roll(std::max(1, h / 2))),
                      std::to_string(1 + Roll(std::max(1, w))),
                      std::to_string(1 + Roll(std::max(1, h)))}),
              0);
    Did("covered");
    if (!still) return;
    // The picture comes back once the program has handled the exposure; a dump after it
    // proves the program is past it.
    program_->Dump();
    RunTool({"import", "-window", main, after.string()}, x_->Env());
    std::string differing;
    RunTool({"compare", "-metric", "AE", before.string(), after.string(), "null:"}, x_->Env(),
            &differing);
    EXPECT_EQ(differing, "0") << "the window looks different after being covered";
    Did("covered and compared");
}

void WindowSoak::RandomStep(const Json& d, const std::string& main) {
    if (!d["window"]["active"].boolean) x_->Focus(main);
    const bool idle = !d["running"].boolean && !d["paused"].boolean && !d["inGameOver"].boolean;
    if (idle && Roll(4) != 0) {
        static const char* const kStarts[] = {"F2", "alt+1", "alt+2", "alt+3"};
        const std::string key = kStarts[Roll(4)];
        Did("game started", key);
        Keys({key});
        return;
    }
    if (d["hiscoreWindow"].number != 0 && Roll(4) == 0) {
        Did("best players closed");
        x_->Focus(std::to_string(d["hiscoreWindow"].number));
        Keys({"Escape"});
        return;
    }
    const int r = Roll(1000);
    if (r < 700) {
        static const char* const kPlay[] = {"Left", "Right", "Up", "Down", "space", "shift+Up"};
        const std::string key = kPlay[Roll(6)];
        Did("play key", key);
        Keys({key});
    } else if (r < 740) {
        Did("pause key");
        Keys({"p"});
    } else if (r < 760) {
        Did("escape");
        Keys({"Escape"});  // pauses and asks to be minimised
    } else if (r < 780) {
        Did("minimised by the window manager");
        x_->Wm({"iconify", main});
    } else if (r < 800) {
        Did("new game");
        Keys({"F2"});
    } else if (r < 830) {
        static const char* const kModes[] = {"alt+1", "alt+2", "alt+3"};
        Did("mode");
        Keys({kModes[Roll(3)]});
    } else if (r < 850) {
        Did("options opened");
        Keys({"F3"});
    } else if (r < 875) {
        Did("best players");
        Keys({"alt+r"});
    } else if (r < 890) {
        Did("exit");
        Keys({"alt+x"});
    } else if (r < 950) {
        CoverAndCompare(d, main);
    } else if (r < 975) {
        // Late in a level, so that levels change and the level sound blocks now and then.
        Did("late in the level");
        program_->Command("late-in-level");
    } else if (r < 985) {
        // The last piece of the last level: the game is won.
        Did("last piece of the game");
        program_->Command("last-piece");
    } else {
        Did("fast drop");
        Keys({"space", "space", "Down"});
    }
}

TEST_F(WindowSoak, RandomPlayNeverCrashesHangsOrBreaksTheState) {
    const long seconds = EnvNumber("ZONKY_WINDOW_SOAK_SECONDS", 90);
    const auto seed = static_cast<unsigned>(
        EnvNumber("ZONKY_WINDOW_SOAK_SEED", static_cast<long>(std::random_device()() & 0xFFFFFF)));
    rng_.seed(seed);
    RecordProperty("seed", static_cast<int>(seed));
    std::printf("window soak: seed %u, %ld s\n", seed, seconds);

    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    int steps = 0;
    while (Clock::now() < deadline) {
        const Json d = program_->Dump();
        ++steps;
        ASSERT_EQ(d["invariants"].text, "")
            << "step " << steps << ", seed " << seed << ", after:" << Trail()
            << "\nstate: " << program_->Command("dump");
        ASSERT_EQ(BrokenFile(game_), "") << "step " << steps << ", seed " << seed;
        if (!d["modal"].text.empty()) {
            ASSERT_TRUE(AnswerModal(d))
                << "unexpected dialog " << d["modal"].text << " \"" << d["modalTitle"].text << "\"";
            continue;
        }
        if (d["window"]["minimised"].boolean) {
            // The window manager restores it. (Whether it stays paused is checked in
            // Window.*: here keys sent just before may still be on their way.)
            if (Roll(2)) {
                Did("restored");
                x_->Wm({"iconify", main});  // what a manager does when asked to minimise
                x_->Wm({"restore", main});
                Expect([](const Json& e) { return !e["window"]["minimised"].boolean; },
                       "the restored window");
            }
            continue;
        }
        RandomStep(d, main);
        if (HasFailure()) break;
    }
    Shot("end-of-soak");

    // Closing: a game still on goes through its end, and perhaps a record, first.
    ASSERT_EQ(x_->Wm({"close", main}), 0);
    std::string goodBye;
    ASSERT_TRUE(WaitUntil([&] {
        const Json d = program_->Dump();
        if (d["modal"].text == "zonky::TForm2") {
            goodBye = std::to_string(d["modalWindow"].number);
            return true;
        }
        if (!d["modal"].text.empty()) AnswerModal(d);
        return false;
    })) << "no good-bye dialog";
    Shot("good-bye");
    x_->Focus(goodBye);
    Keys({"Return"});
    ASSERT_EQ(program_->WaitExit(), std::optional<int>(0));

    ASSERT_EQ(BrokenFile(game_), "");
    for (const auto& entry : fs::directory_iterator(game_)) {
        const std::string name = entry.path().filename().string();
        // Beside the records, only the folder of kept games.
        EXPECT_TRUE(name == "ZonkyMos.Ini" || name == "ZonkyMos.dat" || name == "ZonkyMos.replays")
            << "left behind: " << name;
    }
    std::string summary;
    for (const auto& [what, count] : done_) summary += "  " + what + ": " + std::to_string(count);
    std::printf("window soak: %d steps;%s\n", steps, summary.c_str());
    EXPECT_GT(done_["game started"], 0);
    EXPECT_GT(done_["options closed"], 0);
    EXPECT_GT(done_["restored"], 0);
    EXPECT_GT(done_["covered and compared"], 0);
}

}  // namespace
}  // namespace zonky::e2e
