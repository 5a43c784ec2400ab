// The program against a hostile disk: full, read-only, its files replaced by directories,
// by links to /dev/zero, by huge files. Each time it must start, play a game to a record,
// take the Options dialog, close, and leave what was on disk before as it was.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "records/hiscore_format.h"
#include "records/name_codec.h"
#include "tests/e2e/e2e_fixture.h"

namespace zonky::e2e {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr char kIni[] = "ZonkyMos.Ini";
constexpr char kDat[] = "ZonkyMos.dat";
// Each finished game is kept in a folder beside the records.
constexpr char kReplays[] = "ZonkyMos.replays";
constexpr std::uintmax_t kHuge = std::uintmax_t{8} << 30;  // 8 GiB, sparse

// The files of an earlier run: one Classic record, settings "1100" (clockwise, music on,
// sound off, English).
Bytes EarlierRecords() {
    HiScoreTable table;
    InsertHiScore(table, 1, 300, 2, Utf8ToCp1251("Ann"), 4);
    const HiScoreFileBytes bytes = FormHiScoreFile(table);
    return Bytes(bytes.begin(), bytes.end());
}

void WriteFile(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const fs::path& file, const std::string& text) {
    WriteFile(file, Bytes(text.begin(), text.end()));
}

// What the program did with the disk, as the player would see it afterwards.
struct Outcome {
    bool messageShown = false;  // the Options save was reported
    std::string message;
    std::string lost;  // what closing said of the record no save could store
    bool timerOnAfterOptions = false;
};

class Fault : public EndToEnd {
  protected:
    // The file system goes before the work directory that holds its mount point.
    void AfterProgram() override {
        if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
        mounted_ = false;
    }

    // A small file system of its own as the game directory; false when none can be made.
    bool MountTmpfs(const std::string& size) {
        if (geteuid() != 0) return false;
        const std::string options = "size=" + size + ",mode=0755";
        if (mount("tmpfs", game_.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
        mounted_ = true;
        mountPoint_ = game_.string();
        return true;
    }

    // Starts, checks what was loaded, plays a Classic game to a record, uses Options, and
    // closes. The settings expected at start, whether the earlier record is read, and
    // whether the new one can be saved.
    Outcome PlayThrough(const std::string& settings, bool loaded, bool recordSaved,
                        const std::vector<std::string>& wrapper = {});

    bool mounted_ = false;
    std::string mountPoint_;
};

Outcome Fault::PlayThrough(const std::string& settings, bool loaded, bool recordSaved,
                           const std::vector<std::string>& wrapper) {
    Outcome outcome;
    Start(wrapper);
    const std::string main = PassWelcome();
    EXPECT_NE(main, "");
    if (main.empty()) return outcome;
    const Json start = program_->Dump();
    EXPECT_EQ(start["settings"].text, settings);
    EXPECT_EQ(start["table"][0]["entries"][0][3].text, loaded ? "Ann" : "");

    // A game that enters the table.
    x_->Focus(main);
    Keys({"alt+1"});
    Expect([](const Json& d) { return d["running"].boolean && !d["needPiece"].boolean; },
           "a falling piece");
    EXPECT_EQ(program_->Command("state score 1000"), "ok");
    Keys({"alt+x"});
    const std::string input = x_->WaitForWindow("^The record is established!$");
    EXPECT_NE(input, "") << "no name dialog";
    if (input.empty()) return outcome;
    x_->Focus(input);
    x_->Type("Eve", 30);
    Expect([](const Json& d) { return d["inputText"].text == "Eve"; }, "the typed name");
    Keys({"Return"});
    const Json best =
        Expect([](const Json& d) { return HasString(d["shown"].Strings(), "HiScoreForm"); },
               "the best-players dialog");
    // Whatever became of the file, the new entry stays for the run.
    EXPECT_EQ(best["hiscoreRows"][0][0].text, "Eve");
    EXPECT_EQ(best["hiscoreRows"][1][0].text, loaded ? "Ann" : "");
    EXPECT_EQ(best["modal"].text, "") << "a failed best-players save is not reported";
    Shot("best-players");

    // Options, closed with OK: the settings are saved, or the failure is reported.
    x_->Focus(main);
    Keys({"F3"});
    const Json options =
        Expect([](const Json& d) { return d["modal"].text == "zonky::TOpForm"; }, "Options");
    EXPECT_FALSE(options["timerEnabled"].boolean) << "the timer runs under Options";
    x_->Focus(std::to_string(options["modalWindow"].number));
    Keys({"Return"});
    const Json closed =
        Expect([](const Json& d) { return d["modal"].text != "zonky::TOpForm"; }, "Options closed");
    outcome.timerOnAfterOptions = closed["timerEnabled"].boolean;
    if (closed["modal"].text == "QMessageBox") {
        outcome.messageShown = true;
        outcome.message = closed["modalTitle"].text;
        Shot("settings-not-saved");
        x_->Focus(std::to_string(closed["modalWindow"].number));
        Keys({"Return"});
        Expect([](const Json& d) { return d["modal"].text.empty(); }, "the message closed");
    }
    const Json after = program_->Dump();
    EXPECT_EQ(after["invariants"].text, "");
    EXPECT_TRUE(after["timerEnabled"].boolean) << "the timer stays off after Options";
    if (!recordSaved) {
        // The record tried once more at close, and its loss told before the good-bye.
        EXPECT_EQ(x_->Wm({"close", main}), 0);
        const Json told =
            Expect([](const Json& d) { return d["modal"].text == "QMessageBox"; }, "the loss told");
        outcome.lost = told["modalText"].text;
        Shot("record-lost");
        x_->Focus(std::to_string(told["modalWindow"].number));
        Keys({"Return"});
    }
    CloseProgram(main);  // a second close request while closing changes nothing
    return outcome;
}

// Nothing but the game's own names (and what the test put there) may be left.
std::vector<std::string> Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Fault, AFullDiskLosesNothingAndTheFailedSettingsSaveIsReported) {
    if (!MountTmpfs("64k")) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    const Bytes records = EarlierRecords();
    WriteFile(game_ / kDat, records);
    WriteFile(game_ / kIni, "1100");
    // Fill what is left.
    {
        std::ofstream filler(game_ / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        for (int k = 0; k < 64 && filler; ++k) filler << block << std::flush;
    }
    ASSERT_TRUE(fs::space(game_).available < 4096) << "the disk is not full";

    const Outcome outcome = PlayThrough("1100", true, false);
    EXPECT_TRUE(outcome.messageShown) << "a settings save that broke off is reported";
    EXPECT_NE(outcome.lost.find("ZonkyMos.dat: the disk is full"), std::string::npos)
        << outcome.lost;
    EXPECT_EQ(ReadBytes(game_ / kDat), records);
    EXPECT_EQ(ReadBytes(game_ / kIni), Bytes({'1', '1', '0', '0'}));
    EXPECT_EQ(Listing(game_), (std::vector<std::string>{kIni, kDat, kReplays, "filler"}));
}

TEST_F(Fault, AReadOnlyDirectoryLosesNothing) {
    if (!MountTmpfs("1m")) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const Bytes records = EarlierRecords();
    WriteFile(game_ / kDat, records);
    WriteFile(game_ / kIni, "1100");
    ASSERT_EQ(mount(nullptr, game_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);

    const Outcome outcome = PlayThrough("1100", true, false);
    // A settings file that cannot even be created is passed over silently.
    EXPECT_FALSE(outcome.messageShown) << outcome.message;
    EXPECT_NE(outcome.lost.find("so this record is lost"), std::string::npos) << outcome.lost;
    EXPECT_EQ(ReadBytes(game_ / kDat), records);
    EXPECT_EQ(ReadBytes(game_ / kIni), Bytes({'1', '1', '0', '0'}));
    EXPECT_EQ(Listing(game_), (std::vector<std::string>{kIni, kDat}));
}

TEST_F(Fault, DirectoriesInThePlaceOfTheFilesAreLeftAsTheyWere) {
    fs::create_directory(game_ / kIni);
    fs::create_directory(game_ / kDat);
    WriteFile(game_ / kIni / "inside", "kept");
    WriteFile(game_ / kDat / "inside", "kept too");

    const Outcome outcome = PlayThrough("0110", false, false);
    EXPECT_FALSE(outcome.messageShown) << outcome.message;
    EXPECT_EQ(ReadBytes(game_ / kIni / "inside"), Bytes({'k', 'e', 'p', 't'}));
    EXPECT_EQ(Listing(game_ / kDat), std::vector<std::string>{"inside"});
    EXPECT_EQ(Listing(game_), (std::vector<std::string>{kIni, kDat, kReplays}));
}

TEST_F(Fault, LinksToDevZeroAreNeitherReadNorWrittenThrough) {
    fs::create_symlink("/dev/zero", game_ / kIni);
    fs::create_symlink("/dev/zero", game_ / kDat);
    // As root, a save through the link would replace /dev/zero itself. The program runs
    // in a mount namespace of its own where /dev/zero is a mount point, which cannot be
    // renamed over, so even a regression cannot break this machine.
    std::vector<std::string> wrapper;
    if (geteuid() == 0 && access("/usr/bin/unshare", X_OK) == 0)
        wrapper = {"unshare",
                   "--mount",
                   "--propagation",
                   "private",
                   "sh",
                   "-c",
                   "mount --bind /dev/zero /dev/zero && exec \"$0\" \"$@\""};

    const Outcome outcome = PlayThrough("0110", false, false, wrapper);
    EXPECT_FALSE(outcome.messageShown) << outcome.message;
    EXPECT_TRUE(fs::is_symlink(game_ / kIni));
    EXPECT_TRUE(fs::is_symlink(game_ / kDat));
    EXPECT_EQ(fs::read_symlink(game_ / kDat), "/dev/zero");
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
    EXPECT_EQ(Listing(game_), (std::vector<std::string>{kIni, kDat, kReplays}));
}

TEST_F(Fault, HugeFilesAreNotReadWhole) {
    WriteFile(game_ / kIni, "1100");
    fs::resize_file(game_ / kIni, kHuge);
    WriteFile(game_ / kDat, EarlierRecords());
    fs::resize_file(game_ / kDat, kHuge);

    // The settings are its first four characters. The records file, of the wrong size, is
    // deleted at start-up as any damaged one is; the next record and Options write both
    // files anew, whole.
    const Outcome outcome = PlayThrough("1100", false, true);
    EXPECT_FALSE(outcome.messageShown) << outcome.message;
    EXPECT_EQ(ReadBytes(game_ / kIni), Bytes({'1', '1', '0', '0'}));
    const auto records = ReadBytes(game_ / kDat);
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), kHiScoreFileSize);
    const ParsedHiScores parsed = ParseHiScoreFile(*records);
    EXPECT_EQ(parsed.status, HiScoreFileStatus::Loaded);
    EXPECT_EQ(parsed.table.Name(1, 1), "Eve");
    EXPECT_EQ(Listing(game_), (std::vector<std::string>{kIni, kDat, kReplays}));
}

}  // namespace
}  // namespace zonky::e2e
