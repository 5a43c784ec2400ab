#include "records/hiscore_file.h"

#include <sys/stat.h>

#include <filesystem>

#include "records/hiscore_format.h"
#include "records/settings_file.h"
#include "tests/records/file_test_support.h"

namespace zonky {
namespace {

class BestPlayersFile : public InTempDir {
  protected:
    // A good file holding two Classic results.
    static HiScoreTable TwoResults() {
        HiScoreTable table;
        InsertHiScore(table, GameResult{2000, 5, 1}, "Ann", 2);
        InsertHiScore(table, GameResult{1000, 3, 1}, "Bob", 4);
        return table;
    }
    static Bytes FileOf(const HiScoreTable& table) {
        const HiScoreFileBytes bytes = FormHiScoreFile(table);
        return Bytes(bytes.begin(), bytes.end());
    }
    static Bytes TableBytes(const HiScoreTable& table) {
        return Bytes(table.bytes.begin(), table.bytes.end());
    }
    static const std::string kName;
    HiScoreFile records;  // the file as one running copy of the game keeps it
};
const std::string BestPlayersFile::kName = kHiScoreFileName;

TEST_F(BestPlayersFile, WithoutAFileTheListsAreEmptyAndNothingIsCreated) {
    const HiScoreLoad load = LoadHiScores();
    EXPECT_EQ(load.status, HiScoreLoadStatus::NoFile);
    EXPECT_EQ(load.table.bytes, HiScoreTable::Bytes{});
    EXPECT_FALSE(load.removed);
    EXPECT_TRUE(Listing().empty());
}

TEST_F(BestPlayersFile, TheFirstRecordWritesAWholeFileThatLoadsBack) {
    HiScoreTable table = LoadHiScores().table;
    const HiScoreRecord record = records.Record(table, GameResult{1, 2, 2}, "Ann", 3);
    EXPECT_EQ(record.position, 1);
    ASSERT_TRUE(record.save.has_value());
    EXPECT_TRUE(record.save->Written()) << record.save->reason;
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});  // no temporary file left

    const auto file = Read(kName);
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), 1222u);
    EXPECT_EQ(*file, FileOf(table));
    for (std::size_t at : {std::size_t{0}, std::size_t{808}})  // Classic and Zonky
        EXPECT_TRUE(std::all_of(file->begin() + at, file->begin() + at + 404,
                                [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ((*file)[404 + 400], 1);  // Dedadidavaza's Newest

    const HiScoreLoad again = LoadHiScores();
    EXPECT_EQ(again.status, HiScoreLoadStatus::Loaded);
    EXPECT_EQ(again.table.bytes, table.bytes);
    EXPECT_EQ(again.table.Name(2, 1), "Ann");
    EXPECT_EQ(again.table.ShownScore(2, 1), 2);
    EXPECT_EQ(Read(kName), file);  // loading changes nothing
}

TEST_F(BestPlayersFile, AGameThatDoesNotQualifyWritesNothing) {
    HiScoreTable table;
    const HiScoreRecord record = records.Record(table, GameResult{0, 1, 1}, "Ann", 3);
    EXPECT_EQ(record.position, 0);
    EXPECT_FALSE(record.save.has_value());
    EXPECT_TRUE(Listing().empty());
}

TEST_F(BestPlayersFile, AFileOfAnyOtherSizeIsDeletedAndTheListsStartEmpty) {
    const Bytes good = FileOf(TwoResults());
    Bytes longer = good;
    longer.push_back(0);
    const Bytes cases[] = {Bytes{}, Bytes(good.begin(), good.end() - 1), longer};
    for (const Bytes& bytes : cases) {
        Write(kName, bytes);
        const HiScoreLoad load = LoadHiScores();
        EXPECT_EQ(load.status, HiScoreLoadStatus::WrongSize) << bytes.size();
        EXPECT_TRUE(load.removed);
        EXPECT_EQ(load.table.bytes, HiScoreTable::Bytes{});
        EXPECT_TRUE(Listing().empty()) << bytes.size();
    }
}

TEST_F(BestPlayersFile, OneFlippedBitDeletesTheFileAndTheNextRecordStartsAfresh) {
    Bytes bytes = FileOf(TwoResults());
    bytes[4] ^= 0x01;  // Ann's score, one point off
    Write(kName, bytes);
    HiScoreLoad load = LoadHiScores();
    EXPECT_EQ(load.status, HiScoreLoadStatus::BadChecksum);
    EXPECT_TRUE(load.removed);
    EXPECT_EQ(load.table.bytes, HiScoreTable::Bytes{});
    EXPECT_TRUE(Listing().empty());

    const HiScoreRecord record = records.Record(load.table, GameResult{10, 1, 1}, "Cy", 0);
    EXPECT_EQ(record.position, 1);
    const HiScoreLoad again = LoadHiScores();
    EXPECT_EQ(again.status, HiScoreLoadStatus::Loaded);
    EXPECT_EQ(again.table.FinalLevel(1, 2), 0);  // only the new result
}

TEST_F(BestPlayersFile, AReadOnlyFileLoadsAndIsNeitherDeletedNorReplaced) {
    const HiScoreTable stored = TwoResults();
    Write(kName, FileOf(stored));
    std::filesystem::permissions(kName, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    std::filesystem::permissions(dir_, std::filesystem::perms::all);
    const std::string problem = RunUnprivileged([&]() -> std::string {
        HiScoreLoad load = LoadHiScores();
        if (load.status != HiScoreLoadStatus::Loaded) return "not loaded";
        if (load.table.bytes != stored.bytes) return "loaded other lists";
        const HiScoreRecord record = records.Record(load.table, GameResult{1500, 4, 1}, "Cy", 1);
        if (record.position != 2) return "inserted at " + std::to_string(record.position);
        if (!record.save || record.save->status != WriteStatus::NotCreated)
            return "the read-only file was written";
        if (record.save->reason.empty()) return "no reason given";
        if (load.table.Name(1, 2) != "Cy" || load.table.Name(1, 3) != "Bob")
            return "the table in memory lost the new entry";
        return "";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(Read(kName), FileOf(stored));
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(BestPlayersFile, InAReadOnlyDirectoryTheNewEntryStaysInMemoryAndTheFileUntouched) {
    const HiScoreTable stored = TwoResults();
    Write(kName, FileOf(stored));
    std::filesystem::permissions(
        dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                  std::filesystem::perms::group_read | std::filesystem::perms::group_exec |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    const std::string problem = RunUnprivileged([&]() -> std::string {
        HiScoreLoad load = LoadHiScores();
        if (load.status != HiScoreLoadStatus::Loaded) return "not loaded";
        const HiScoreRecord record = records.Record(load.table, GameResult{5000, 128, 1}, "", 0);
        if (record.position != 1) return "inserted at " + std::to_string(record.position);
        if (!record.save || record.save->Written()) return "reported as saved";
        if (load.table.FinalLevel(1, 1) != 128 || load.table.Name(1, 2) != "Ann")
            return "the table in memory lost the new entry";
        // A later record in the same run still goes into memory.
        records.Record(load.table, GameResult{3000, 6, 1}, "Dee", 0);
        if (load.table.Name(1, 2) != "Dee") return "the second record was lost";
        return "";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(Read(kName), FileOf(stored));
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(BestPlayersFile, ADamagedFileThatCannotBeDeletedStillGivesEmptyLists) {
    Write(kName, Bytes(1221, 7));
    std::filesystem::permissions(
        dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    const std::string problem = RunUnprivileged([&]() -> std::string {
        const HiScoreLoad load = LoadHiScores();
        if (load.status != HiScoreLoadStatus::WrongSize) return "not refused";
        if (load.removed) return "reported as deleted";
        if (load.table.bytes != HiScoreTable::Bytes{}) return "lists not empty";
        return "";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(Read(kName), Bytes(1221, 7));
}

TEST_F(BestPlayersFile, ADirectoryInThePlaceOfTheFileIsLeftAloneAndTheSaveFails) {
    std::filesystem::create_directory(kName);
    HiScoreLoad load = LoadHiScores();
    EXPECT_EQ(load.status, HiScoreLoadStatus::Unopenable);
    EXPECT_FALSE(load.removed);
    EXPECT_EQ(load.table.bytes, HiScoreTable::Bytes{});

    const HiScoreRecord record = records.Record(load.table, GameResult{40, 2, 3}, "Eve", 9);
    EXPECT_EQ(record.position, 1);
    ASSERT_TRUE(record.save.has_value());
    EXPECT_EQ(record.save->status, WriteStatus::NotCreated);
    EXPECT_EQ(load.table.Name(3, 1), "Eve");
    EXPECT_TRUE(std::filesystem::is_directory(kName));
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(BestPlayersFile, APipeInThePlaceOfTheFileIsNotWaitedOn) {
    ASSERT_EQ(mkfifo(kName.c_str(), 0600), 0);
    const HiScoreLoad load = LoadHiScores();  // opening a pipe to read would block
    EXPECT_EQ(load.status, HiScoreLoadStatus::Unopenable);
    EXPECT_FALSE(load.removed);
    EXPECT_TRUE(std::filesystem::is_fifo(kName));
}

TEST_F(BestPlayersFile, ASaveThatFailsHalfWayLeavesTheOldFileWhole) {
    const HiScoreTable stored = TwoResults();
    Write(kName, FileOf(stored));
    HiScoreTable table = LoadHiScores().table;
    HiScoreRecord record;
    {
        const FileSizeLimit limit(600);  // the disk fills half-way through the new file
        record = records.Record(table, GameResult{3000, 7, 1}, "Cy", 5);
    }
    EXPECT_EQ(record.position, 1);
    ASSERT_TRUE(record.save.has_value());
    EXPECT_EQ(record.save->status, WriteStatus::WriteFailed);
    EXPECT_FALSE(record.save->reason.empty());
    EXPECT_EQ(Read(kName), FileOf(stored));
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
    EXPECT_EQ(table.Name(1, 1), "Cy");
    EXPECT_EQ(table.Name(1, 3), "Bob");

    // With room again, the next save writes what memory holds.
    EXPECT_TRUE(SaveHiScores(table).Written());
    EXPECT_EQ(LoadHiScores().table.bytes, table.bytes);
}

TEST_F(BestPlayersFile, AFileFromAnotherRunWithBadStoredFieldsLoadsAndReadsSafely) {
    HiScoreTable odd = TwoResults();
    odd.bytes[12] = 200;        // name length past its field
    odd.SetAvatar(1, 2, 77);    // no such picture
    odd.SetNewest(1, 11);       // no such row
    Write(kName, FileOf(odd));  // with a matching checksum
    const HiScoreLoad load = LoadHiScores();
    ASSERT_EQ(load.status, HiScoreLoadStatus::Loaded);
    EXPECT_EQ(load.table.bytes, odd.bytes);  // stored bytes are kept as they are
    EXPECT_EQ(load.table.Name(1, 1).size(), 25u);
    EXPECT_EQ(load.table.ShownAvatar(1, 2), -1);
    EXPECT_EQ(load.table.ShownNewest(1), 0);
}

TEST_F(BestPlayersFile, TwoCopiesInOneFolderKeepEachOthersRecords) {
    Write(kName, FileOf(TwoResults()));  // Classic: Ann 3000, Bob 1500
    HiScoreFile first;
    HiScoreFile second;
    HiScoreTable firstTable = first.Load().table;
    HiScoreTable secondTable = second.Load().table;
    EXPECT_EQ(first.Record(firstTable, GameResult{1200, 3, 1}, "Cy", 1).position, 2);  // 1800
    const HiScoreRecord late = second.Record(secondTable, GameResult{800, 2, 1}, "Dee", 2);
    ASSERT_TRUE(late.save && late.save->Written()) << late.save->reason;
    EXPECT_EQ(late.position, 4);
    // The copy that saved last shows the other's record too, and the file holds both.
    const char* names[] = {"Ann", "Cy", "Bob", "Dee"};
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(secondTable.Name(1, k), names[k - 1]);
    EXPECT_EQ(secondTable.Newest(1), 4);
    EXPECT_EQ(LoadHiScores().table.bytes, secondTable.bytes);
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(BestPlayersFile, CopiesSavingAtTheSameMomentAllKeepTheirRecords) {
    constexpr int kCopies = 2;
    constexpr int kRecordsEach = 5;  // all of them fit in one list
    for (int round = 0; round < 8; ++round) {
        std::filesystem::remove(kName);
        const std::string problem = RunConcurrently(kCopies, [](int copy) -> std::string {
            HiScoreFile file;
            HiScoreTable table = file.Load().table;
            for (int i = 0; i < kRecordsEach; ++i) {
                const GameResult game{10 * (1 + copy + kCopies * i), 1, 1};
                const HiScoreRecord record =
                    file.Record(table, game, std::to_string(copy) + "-" + std::to_string(i), 0);
                if (!record.save || !record.save->Written())
                    return "not saved: " + (record.save ? record.save->reason : "");
            }
            return "";
        });
        ASSERT_EQ(problem, "") << round;
        const HiScoreLoad load = LoadHiScores();
        ASSERT_EQ(load.status, HiScoreLoadStatus::Loaded);
        std::vector<std::string> names;
        for (int k = 1; k <= 10; ++k) names.emplace_back(load.table.Name(1, k));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"0-0", "0-1", "0-2", "0-3", "0-4", "1-0", "1-1",
                                                   "1-2", "1-3", "1-4"}))
            << round;
        EXPECT_EQ(Listing(), std::vector<std::string>{kName}) << round;
    }
}

TEST_F(BestPlayersFile, AFileThatCouldNotBeReadAtTheStartIsNeverReplacedBlindly) {
    if (!MakeUnreadable(kName)) GTEST_SKIP() << "no read error can be made here";
    HiScoreLoad load = records.Load();
    EXPECT_EQ(load.status, HiScoreLoadStatus::Unreadable);
    EXPECT_FALSE(load.removed);
    EXPECT_EQ(load.table.bytes, HiScoreTable::Bytes{});

    // Still failing: the record stays in memory and the file is not touched.
    HiScoreRecord record = records.Record(load.table, GameResult{100, 2, 1}, "Cy", 0);
    EXPECT_EQ(record.position, 1);
    ASSERT_TRUE(record.save.has_value());
    EXPECT_EQ(record.save->status, WriteStatus::Kept);
    EXPECT_TRUE(std::filesystem::is_symlink(kName));

    // Readable now but not whole: its records were never seen, so it is still kept.
    std::filesystem::remove(kName);
    Write(kName, Bytes(100, 1));
    record = records.Record(load.table, GameResult{50, 1, 1}, "Dee", 0);
    EXPECT_EQ(record.save->status, WriteStatus::Kept);
    EXPECT_EQ(Read(kName), Bytes(100, 1));

    // Whole again: both records go into the lists read from it.
    Write(kName, FileOf(TwoResults()));
    record = records.Record(load.table, GameResult{10, 1, 1}, "Eve", 0);
    ASSERT_TRUE(record.save->Written()) << record.save->reason;
    EXPECT_EQ(record.position, 5);
    const char* names[] = {"Ann", "Bob", "Cy", "Dee", "Eve"};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(load.table.Name(1, k), names[k - 1]);
    EXPECT_EQ(LoadHiScores().table.bytes, load.table.bytes);
}

// Files kept: only the game's own temporary files go, and only while no copy is saving.
TEST_F(BestPlayersFile, TheFirstShowRemovesOnlyTheGamesLeftoversAndNeverAPlayersCopy) {
    // The player's own copies, and what older versions of the game left: all of them stay.
    std::vector<std::string> kept = {"ZonkyMos.dat.Backup", "ZonkyMos.dat.BACKUP",
                                     "ZonkyMos.dat.202405", "ZonkyMos.dat.old001",
                                     "ZonkyMos.dat.Bak123", "ZonkyMos.dat.backup",
                                     "ZonkyMos.Ini.x9Y8z7", ".ZonkyMos.dat.saving-Ab12C"};
    for (const std::string& name : kept) Write(name, FileOf(TwoResults()));
    Write(".ZonkyMos.dat.saving-Q1w2E3", Bytes(5000, 1));  // no file of the game is so large
    kept.push_back(".ZonkyMos.dat.saving-Q1w2E3");
    Write(".ZonkyMos.dat.saving-Ab12Cd", Bytes(600, 1));  // a save killed half-way
    Write(".ZonkyMos.Ini.saving-x9Y8z7", "01");           // the same for the settings
    Write("ZonkyMos.dat.lock", "");                       // the lock of the killed save
    {
        // Another copy is saving: its temporary file is not touched.
        const FileLock saving(kName, FileLock::kSaveWait);
        ASSERT_EQ(saving.status(), FileLock::Status::Held);
        records.Load();
        EXPECT_TRUE(Read(".ZonkyMos.dat.saving-Ab12Cd").has_value());
    }
    records.Load();
    SettingsFile().Load();
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(), kept);
}

// A synced folder: the game's name links to the real file, which other copies reach through
// links of their own.
TEST_F(BestPlayersFile, ADamagedLinkedFileGoesOnlyUnderTheSharedLockAndTheLinkStays) {
    std::filesystem::create_directories("other");
    std::filesystem::create_directories("synced");
    Write("synced/ZonkyMos.dat", Bytes(100, 1));
    Write("synced/.ZonkyMos.dat.saving-Ab12Cd", Bytes(600, 1));
    std::filesystem::create_symlink("synced/ZonkyMos.dat", kName);
    std::filesystem::create_symlink("../synced/ZonkyMos.dat", "other/ZonkyMos.dat");
    {
        // The copy in the other folder is saving: both take the one lock beside the file.
        const FileLock saving("other/ZonkyMos.dat", FileLock::kSaveWait);
        ASSERT_EQ(saving.status(), FileLock::Status::Held);
        EXPECT_EQ(FileLock(kName, std::chrono::milliseconds(0)).status(), FileLock::Status::Busy);
        const HiScoreLoad load = records.Load();
        EXPECT_EQ(load.status, HiScoreLoadStatus::WrongSize);
        EXPECT_FALSE(load.removed);
        EXPECT_EQ(Read("synced/ZonkyMos.dat"), Bytes(100, 1));
    }
    HiScoreLoad load = records.Load();
    EXPECT_TRUE(load.removed);
    EXPECT_TRUE(std::filesystem::is_symlink(kName));
    // The next save replaces the file through the link.
    const HiScoreRecord record = records.Record(load.table, GameResult{100, 2, 1}, "Cy", 0);
    ASSERT_TRUE(record.save && record.save->Written()) << record.save->reason;
    EXPECT_TRUE(std::filesystem::is_symlink(kName));
    EXPECT_EQ(Read("synced/ZonkyMos.dat"), FileOf(load.table));
    EXPECT_EQ(Listing(), (std::vector<std::string>{kName, "other", "synced"}));
    for (const auto& entry : std::filesystem::directory_iterator("synced"))
        EXPECT_EQ(entry.path().filename(), "ZonkyMos.dat");
}

// Results kept: a lock that cannot be taken is as good as busy; the result waits in memory
// and goes into the file at the next try.
TEST_F(BestPlayersFile, ALockThatCannotBeTakenKeepsTheResultForTheNextTry) {
    const Bytes earlier = FileOf(TwoResults());
    Write(kName, earlier);
    HiScoreTable table = records.Load().table;
    std::filesystem::create_symlink("elsewhere", "ZonkyMos.dat.lock");  // named like the lock
    HiScoreRecord record = records.Record(table, GameResult{1200, 3, 1}, "Cy", 1);
    EXPECT_EQ(record.position, 2);
    ASSERT_TRUE(record.save.has_value());
    EXPECT_EQ(record.save->failure, WriteFailure::LockRefused);
    EXPECT_EQ(Read(kName), earlier);
    EXPECT_EQ(records.Pending(), 1);
    std::filesystem::remove("ZonkyMos.dat.lock");

    const std::optional<FileWriteResult> again = records.SavePending(table);
    ASSERT_TRUE(again && again->Written()) << (again ? again->reason : "nothing pending");
    EXPECT_EQ(records.Pending(), 0);
    EXPECT_FALSE(records.SavePending(table).has_value());
    EXPECT_EQ(LoadHiScores().table.Name(1, 2), "Cy");
}

}  // namespace
}  // namespace zonky
