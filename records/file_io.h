// The only code that touches the disk: whole small files read from their start and
// replaced atomically, and the lock that copies of the game sharing a folder take turns by.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zonky {

enum class WriteStatus {
    Written,
    NotCreated,   // the new file could not be started: nothing was written anywhere
    WriteFailed,  // it was started but writing or completing it failed
    Kept,         // not replaced on purpose: what is there could not be read, or another
                  // copy of the game held the lock too long
};

// Why a save did not happen, for telling the player in their language.
enum class WriteFailure {
    None,
    System,             // the system refused: `error` holds its errno
    NotRegular,         // the name is no regular file
    Locked,             // another copy of the game held the lock for the whole wait
    LockRefused,        // a lock file is there that this user cannot take
    Unreadable,         // the file there could not be read now
    UnreadableAtStart,  // it could not be read when the game started and is not whole now
};

struct FileWriteResult {
    WriteStatus status = WriteStatus::Written;
    std::string reason;  // the system's words for a failure; empty when written
    WriteFailure failure = WriteFailure::None;
    int error = 0;  // the errno of a System failure
    bool Written() const { return status == WriteStatus::Written; }
    // A save the player expected and did not get; a file that could not even be
    // created is passed over silently.
    bool WorthTelling() const {
        return status == WriteStatus::WriteFailed || status == WriteStatus::Kept;
    }
};

enum class ReadStatus {
    Read,
    Missing,     // no such file
    Unopenable,  // there, but not a regular file (a directory, a pipe, a device)
    ReadFailed,  // a regular file that could not be opened or read: its content is unknown
};

struct FileStart {
    ReadStatus status = ReadStatus::Missing;
    std::vector<std::uint8_t> bytes;  // the first bytes, at most the limit asked for
};

// Reads at most `limit` bytes of a regular file, opened for reading only. Never creates,
// changes or waits on anything: a pipe or device under that name counts as unopenable.
FileStart ReadFileStart(const std::string& path, std::size_t limit);

// The two calls that make a new file's data durable before it takes the old one's place.
// Tests put failing ones here; the program always uses the system's.
struct DurabilityCalls {
    int (*sync)(int fd);
    int (*close)(int fd);
};
DurabilityCalls SystemDurabilityCalls();

// Writes a temporary file beside `path` (beside the regular file a link leads to), makes
// its data durable, gives it the old file's permission bits and renames it over `path`
// only once all of that worked, so a failure at any point leaves the old file whole. A name
// that is there but is no regular file (a directory, a pipe, a device, or a link to one) is
// left alone, and so is a regular file this user may not write.
FileWriteResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                            const DurabilityCalls& calls = SystemDurabilityCalls());

// Deletes the regular file `path` names, at the end of its links; the links stay, so the
// next save writes through them again. Whether that worked changes nothing for the
// caller's later steps.
bool RemoveFile(const std::string& path);

// An exclusive hold on "<file>.lock" beside the file a save of `path` really writes (the end
// of its links), so copies of the game whose names link to one file share one lock. Whoever
// saves holds it from reading the file to renaming the new one into place, so while it is
// held no copy is part-way through a save. The lock file is removed on release.
class FileLock {
  public:
    enum class Status {
        Held,
        Busy,         // another copy held it for the whole wait
        Refused,      // a lock file is there but cannot be locked: treat it as busy
        Unavailable,  // no lock file can be made in this folder at all (say, a read-only
                      // one), so no copy can be saving here; nobody holds it
    };
    static constexpr std::chrono::milliseconds kSaveWait{3000};

    FileLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Status status() const { return status_; }
    // Whether a save may go on: the lock is held, or no copy can hold one here.
    bool MaySave() const { return status_ == Status::Held || status_ == Status::Unavailable; }
    // Why a save may not go on, as a failed write.
    FileWriteResult Refusal() const;

  private:
    std::string lockPath_;
    int fd_ = -1;
    Status status_ = Status::Unavailable;
};

// Deletes what a save of `path` killed part-way left behind: regular files of this user
// named exactly as the game names its temporary files, ".<file>.saving-XXXXXX" (six
// letters or digits) beside the file really written, no larger than `maxSize`. Call it
// holding the file's lock, so no running copy is using one. No other name is ever touched:
// a player's copy, whatever it is called, stays. Returns how many were deleted.
int RemoveLeftovers(const std::string& path, std::uintmax_t maxSize);

}  // namespace zonky
