// The replay folder stays bounded without losing a row's game or touching another file, and
// a folder that cannot be written costs only the replay.
#include "records/replay_store.h"

#include "records/name_codec.h"
#include "tests/records/file_test_support.h"

namespace zonky {
namespace {

class ReplayStoreTest : public InTempDir {
  protected:
    static ReplayHeader Game(const std::string& player, int avatar, std::int64_t score) {
        ReplayHeader header;
        header.format = kReplayFormat;
        header.mode = kZonky;
        header.player = player;
        header.avatar = avatar;
        header.result = {score, 3, 2, 100, std::nullopt};
        return header;
    }
    std::optional<std::string> Save(const ReplayHeader& header) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "20261210-0%05d-000", saved_++);
        return store_.Save(HeaderText(header), header, stamp, table_);
    }
    static std::vector<std::string> Files() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(kReplayFolderName))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    ReplayStore store_;
    HiScoreTable table_;
    int saved_ = 0;
};

TEST_F(ReplayStoreTest, KeepsEveryRowsGameAndTheNewestOthersAndNothingElseGoes) {
    std::vector<std::string> rows;
    for (int k = 0; k < HiScoreTable::kEntries; ++k) {
        const ReplayHeader row = Game("Игрок " + std::to_string(k), k, 1000 + k);
        InsertHiScore(table_, kZonky, row.result.score, row.result.level, Utf8ToCp1251(row.player),
                      row.avatar);
        rows.push_back(*Save(row));
    }
    Write(std::string(kReplayFolderName) + "/notes.txt", "the player's own");
    Write(std::string(kReplayFolderName) + "/20261210-000000-000-3.zmreplay.bak", "a copy");
    std::vector<std::string> others;
    for (int k = 0; k < 60; ++k) others.push_back(*Save(Game("", -1, k)));

    std::vector<std::string> expected{"notes.txt", "20261210-000000-000-3.zmreplay.bak"};
    for (const auto& kept : {rows, std::vector<std::string>(others.end() - 50, others.end())})
        for (const std::string& path : kept) expected.push_back(path.substr(path.rfind('/') + 1));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(), expected);
    for (int k = 1; k <= HiScoreTable::kEntries; ++k)
        EXPECT_EQ(store_.Find(table_, kZonky, k), rows[static_cast<std::size_t>(10 - k)]);
    EXPECT_EQ(store_.RowsWithReplay(table_, kZonky), 0x3FFU);
    EXPECT_EQ(store_.RowsWithReplay(table_, kClassic), 0U);

    // A row pushed out of the table leaves its game among the others: the oldest, it goes.
    InsertHiScore(table_, kZonky, 5000, 4, "new", 1);
    Save(Game("", -1, 1));
    EXPECT_FALSE(std::filesystem::exists(rows.front()));
    EXPECT_TRUE(std::filesystem::exists(rows[1]));
}

TEST_F(ReplayStoreTest, AFolderThatCannotBeWrittenCostsOnlyTheReplay) {
    Write(kReplayFolderName, "a file where the folder would be");
    EXPECT_EQ(Save(Game("Anna", 1, 10)), std::nullopt);
    EXPECT_EQ(ReadText(kReplayFolderName), "a file where the folder would be");
    EXPECT_EQ(store_.Find(table_, kZonky, 1), std::nullopt);
}

}  // namespace
}  // namespace zonky
