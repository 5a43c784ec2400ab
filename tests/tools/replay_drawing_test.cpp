// zonky-replay's drawing commands, run on the program itself with the real pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/replay_runner.h"

namespace zonky::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::int64_t> Rgb(const Json& line) {
    return line["rgb"].Ints();
}

TEST(ReplayDrawing, PixelLinesNameTheirPointAndColour) {
    const ReplayRun run = Replay("new\npixel 9 25\npixel 308 379\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0].Keys(), (std::vector<std::string>{"pixel", "rgb"}));
    EXPECT_EQ(run.lines[0]["pixel"].Ints(), (std::vector<std::int64_t>{9, 25}));
    EXPECT_EQ(run.lines[1]["pixel"].Ints(), (std::vector<std::int64_t>{308, 379}));
    for (std::int64_t channel : Rgb(run.lines[0])) {
        EXPECT_GE(channel, 0);
        EXPECT_LE(channel, 255);
    }
}

TEST(ReplayDrawing, PaintRepaintsOnlyWhatItIsGiven) {
    // A cell put into the well directly shows only once a repaint reaches it.
    const ReplayRun run = Replay(
        "new\n"
        "paint 0 0 1 1\n"  // the first show's repaint is done
        "set 20 1 0 3\n"
        "pixel 9 367\n"
        "paint 100 100 10 10\n"
        "pixel 9 367\n"
        "paint 0 358 18 18\n"
        "pixel 9 367\n"
        "pixel 27 367\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(Rgb(run.lines[0]), Rgb(run.lines[1]));
    EXPECT_NE(Rgb(run.lines[1]), Rgb(run.lines[2]));
    EXPECT_EQ(Rgb(run.lines[0]), Rgb(run.lines[3]));  // the next cell still shows the tile
    const std::vector<std::int64_t> red = Rgb(run.lines[2]);
    EXPECT_GT(red[0], red[1] + 60);
    EXPECT_GT(red[0], red[2] + 60);
}

TEST(ReplayDrawing, PngShowsTheWindowWithItsControls) {
    const ReplayRun run =
        Replay("mode 1\ndraws 3 0 5 2\ntick\nstate score 40\nstop\npng shot.png\npixel 113 195\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage shot(QString::fromStdString((run.dir->path() / "shot.png").string()));
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(309, 380));
    // The game-over picture lies across the well; the pixel line reads the same picture.
    const QRgb p = shot.pixel(113, 195);
    EXPECT_EQ(Rgb(run.lines[0]), (std::vector<std::int64_t>{qRed(p), qGreen(p), qBlue(p)}));
}

TEST(ReplayDrawing, BadDrawingLinesAreErrors) {
    for (const char* script :
         {"pixel 309 0\n", "pixel 1\n", "paint 1 2 3\n", "png\n", "png /nonexistent-dir/x.png\n"}) {
        const ReplayRun run = Replay(script);
        EXPECT_EQ(run.status, 2) << script;
        EXPECT_EQ(run.err.rfind("line 1: ", 0), 0u) << script << run.err;
    }
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The tool never writes the game's files, and never through a link or into a pipe, a
// device or a folder: each is refused with the thing left as it was.
TEST(ReplayDrawing, PngWritesOnlyRegularFilesAndNeverTheGames) {
    struct Case {
        std::string target;
        std::string prepare;
        std::string kept;  // the file that must still say "keep", if any
    };
    const Case cases[] = {
        {"ZonkyMos.dat", "printf keep > ZonkyMos.dat", "ZonkyMos.dat"},
        {"ZonkyMos.Ini", "true", ""},
        {"sub/zonkymos.ini", "mkdir sub", ""},
        {"link.png", "printf keep > ZonkyMos.dat && ln -s ZonkyMos.dat link.png", "ZonkyMos.dat"},
        {"fifo", "mkfifo fifo", ""},
        {"sub", "mkdir sub", ""},
    };
    for (const Case& c : cases) {
        const ReplayRun run = ReplayAfter(c.prepare, "png " + c.target + "\n");
        EXPECT_EQ(run.status, 2) << c.target;
        EXPECT_EQ(run.err.rfind("line 1: ", 0), 0u) << c.target << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        if (!c.kept.empty()) {
            EXPECT_EQ(Contents(run.dir->path() / c.kept), "keep") << c.target;
        }
        EXPECT_FALSE(fs::exists(run.dir->path() / "ZonkyMos.Ini")) << c.target;
        EXPECT_FALSE(fs::exists(run.dir->path() / "sub/zonkymos.ini")) << c.target;
    }
    // A regular file is replaced.
    const ReplayRun run = ReplayAfter("printf keep > old.png", "png old.png\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Contents(run.dir->path() / "old.png").substr(1, 3), "PNG");
}

}  // namespace
}  // namespace zonky::test
