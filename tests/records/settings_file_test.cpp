#include "records/settings_file.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstring>
#include <filesystem>

#include "records/hiscore_file.h"
#include "tests/records/file_test_support.h"

namespace zonky {
namespace {

class SettingsFile : public InTempDir {
  protected:
    static std::string Flags(const Settings& s) {
        return std::to_string(s.RotateClockwise) + std::to_string(s.MusicOn) +
               std::to_string(s.SoundOn) + std::to_string(s.UiLanguage);
    }
    static Settings Of(const std::string& flags) {
        Settings s;
        s.RotateClockwise = flags[0] == '1';
        s.MusicOn = flags[1] == '1';
        s.SoundOn = flags[2] == '1';
        s.UiLanguage = flags[3] == '1';
        return s;
    }
    static const std::string kName;
};
const std::string SettingsFile::kName = kSettingsFileName;

TEST_F(SettingsFile, TheFirstRunUsesTheDefaultsAndCreatesNothingUntilASave) {
    const Settings loaded = LoadSettings();
    EXPECT_EQ(Flags(loaded), "0110");
    EXPECT_TRUE(Listing().empty());
    EXPECT_TRUE(SaveSettings(loaded).Written());
    EXPECT_EQ(ReadText(kName), "0110");
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(SettingsFile, ReadsWhatTheFileHoldsAndLeavesItAsItIs) {
    const std::pair<std::string, std::string> cases[] = {{"1", "1000"}, {"", "0000"}};
    for (const auto& [content, flags] : cases) {
        Write(kName, content);
        EXPECT_EQ(Flags(LoadSettings()), flags) << content;
        EXPECT_EQ(ReadText(kName), content);
    }
}

TEST_F(SettingsFile, ALineEndIsIgnoredAndNotWrittenBack) {
    Write(kName, "1111\r\n");
    const Settings loaded = LoadSettings();
    EXPECT_EQ(Flags(loaded), "1111");
    EXPECT_TRUE(SaveSettings(loaded).Written());
    EXPECT_EQ(ReadText(kName), "1111");
}

TEST_F(SettingsFile, WhatCannotBeOpenedGivesTheDefaultsAndIsLeftAlone) {
    std::filesystem::create_directory(kName);
    EXPECT_EQ(Flags(LoadSettings()), "0110");
    const FileWriteResult save = SaveSettings(Of("1001"));
    EXPECT_EQ(save.status, WriteStatus::NotCreated);  // to be passed over silently
    EXPECT_TRUE(std::filesystem::is_directory(kName));

    std::filesystem::remove(kName);
    ASSERT_EQ(mkfifo(kName.c_str(), 0600), 0);
    EXPECT_EQ(Flags(LoadSettings()), "0110");  // and without waiting on the pipe
    EXPECT_TRUE(std::filesystem::is_fifo(kName));
}

// Saving through a link writes where it points; a link to a device must not get that device
// replaced by a regular file (root may rename over /dev/zero).
TEST_F(SettingsFile, ALinkToAPipeOrADeviceIsNotWrittenThrough) {
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    std::filesystem::create_symlink(dir_ / "pipe", kName);
    EXPECT_EQ(Flags(LoadSettings()), "0110");
    EXPECT_EQ(SaveSettings(Of("1001")).status, WriteStatus::NotCreated);
    EXPECT_TRUE(std::filesystem::is_fifo(dir_ / "pipe"));
    EXPECT_TRUE(std::filesystem::is_symlink(kName));

    if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    // The zero device, made here so that a failure cannot reach the system's /dev/zero.
    ASSERT_EQ(mknod("zero", S_IFCHR | 0666, makedev(1, 5)), 0);
    std::filesystem::remove(kName);
    std::filesystem::create_symlink(dir_ / "zero", kName);
    EXPECT_EQ(Flags(LoadSettings()), "0110");
    const FileWriteResult save = SaveSettings(Of("1001"));
    EXPECT_EQ(save.status, WriteStatus::NotCreated);
    EXPECT_TRUE(std::filesystem::is_character_file(dir_ / "zero"));
    EXPECT_EQ(Listing(), (std::vector<std::string>{kName, "pipe", "zero"}));
}

TEST_F(SettingsFile, AReadOnlyFileIsReadAndNotOverwritten) {
    Write(kName, "1111");
    std::filesystem::permissions(
        kName, std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
    std::filesystem::permissions(dir_, std::filesystem::perms::all);
    const std::string problem = RunUnprivileged([&]() -> std::string {
        if (Flags(LoadSettings()) != "1111") return "not read";
        if (SaveSettings(Of("0000")).status != WriteStatus::NotCreated) return "not refused";
        return "";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(ReadText(kName), "1111");
}

TEST_F(SettingsFile, InAReadOnlyDirectoryTheSaveIsSkippedAndNothingAppears) {
    std::filesystem::permissions(
        dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    const std::string problem = RunUnprivileged([&]() -> std::string {
        const FileWriteResult save = SaveSettings(Of("1011"));
        if (save.status != WriteStatus::NotCreated) return "not refused at creation";
        return "";
    });
    EXPECT_EQ(problem, "");
    EXPECT_TRUE(Listing().empty());
}

TEST_F(SettingsFile, AWriteThatFailsAfterCreationIsReportedWithItsReason) {
    Write(kName, "1010");
    FileWriteResult save;
    {
        const FileSizeLimit limit(2);  // the disk fills after two characters
        save = SaveSettings(Of("0101"));
    }
    EXPECT_EQ(save.status, WriteStatus::WriteFailed);
    EXPECT_FALSE(save.reason.empty());
    EXPECT_EQ(ReadText(kName), "1010");
    EXPECT_EQ(Listing(), std::vector<std::string>{kName});
}

TEST_F(SettingsFile, AFailedBestPlayersSaveDoesNotStopTheNextSettingsSave) {
    std::filesystem::create_directory(kHiScoreFileName);
    HiScoreTable table;
    EXPECT_FALSE(HiScoreFile().Record(table, GameResult{10, 1, 1}, "Ann", 0).save->Written());
    EXPECT_TRUE(SaveSettings(Of("0111")).Written());
    EXPECT_EQ(ReadText(kName), "0111");
}

TEST_F(SettingsFile, AFileThatCouldNotBeReadAtTheStartIsKeptAndTheSkipIsTold) {
    if (!MakeUnreadable(kName)) GTEST_SKIP() << "no read error can be made here";
    zonky::SettingsFile file;
    EXPECT_EQ(Flags(file.Load()), "0110");
    std::filesystem::remove(kName);
    Write(kName, "1111");  // the read error has passed
    const FileWriteResult save = file.Save(Of("0000"));
    EXPECT_EQ(save.status, WriteStatus::Kept);
    EXPECT_TRUE(save.WorthTelling());
    EXPECT_FALSE(save.reason.empty());
    EXPECT_EQ(ReadText(kName), "1111");
    // A run that could read it saves as before.
    zonky::SettingsFile next;
    EXPECT_EQ(Flags(next.Load()), "1111");
    EXPECT_TRUE(next.Save(Of("0101")).Written());
    EXPECT_EQ(ReadText(kName), "0101");
}

// The data must be on the disk before the new file takes the old one's place.
TEST_F(SettingsFile, AFlushOrCloseErrorKeepsTheOldFileAndIsTold) {
    Write(kName, "1010");
    const DurabilityCalls failing[] = {
        {[](int) {
             errno = EIO;
             return -1;
         },
         &close},
        {&fdatasync,
         [](int fd) {
             close(fd);
             errno = EIO;
             return -1;
         }},
    };
    const std::uint8_t bytes[] = {'0', '1', '0', '1'};
    for (const DurabilityCalls& calls : failing) {
        const FileWriteResult save = ReplaceFile(kName, bytes, calls);
        EXPECT_EQ(save.status, WriteStatus::WriteFailed);
        EXPECT_TRUE(save.WorthTelling());
        EXPECT_EQ(save.reason, std::strerror(EIO));
        EXPECT_EQ(ReadText(kName), "1010");
        EXPECT_EQ(Listing(), std::vector<std::string>{kName});
    }
}

// Players link their files into synced folders.
TEST_F(SettingsFile, ASaveWritesThroughALinkAndKeepsThePermissionBits) {
    std::filesystem::create_directory("synced");
    Write("synced/ini", "1111");
    ASSERT_EQ(chmod("synced/ini", 0604), 0);
    std::filesystem::create_symlink("synced/ini", kName);
    EXPECT_TRUE(SaveSettings(Of("0101")).Written());
    EXPECT_TRUE(std::filesystem::is_symlink(kName));
    EXPECT_EQ(ReadText("synced/ini"), "0101");
    struct stat info {};
    ASSERT_EQ(stat("synced/ini", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(Listing(), (std::vector<std::string>{kName, "synced"}));

    if (geteuid() != 0) return;
    // Root may write a read-only file; it stays read-only.
    ASSERT_EQ(chmod("synced/ini", 0444), 0);
    EXPECT_TRUE(SaveSettings(Of("1001")).Written());
    ASSERT_EQ(stat("synced/ini", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(ReadText(kName), "1001");

    // A member of the file's group saves another user's group-shared file: the owner
    // cannot be kept, the group is, so the other members can still save.
    constexpr uid_t kOwner = 12345;
    constexpr gid_t kGroup = 4242;
    ASSERT_EQ(chown("synced/ini", kOwner, kGroup), 0);
    ASSERT_EQ(chmod("synced/ini", 0664), 0);
    std::filesystem::permissions("synced", std::filesystem::perms::all);
    std::filesystem::permissions(dir_, std::filesystem::perms::all);
    EXPECT_EQ(RunUnprivileged([] { return SaveSettings(Of("0011")).Written() ? "" : "not saved"; },
                              kGroup),
              "");
    ASSERT_EQ(stat("synced/ini", &info), 0);
    EXPECT_EQ(info.st_gid, kGroup);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(ReadText(kName), "0011");
}

}  // namespace
}  // namespace zonky
