#include "records/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>
#include <thread>

namespace zonky {
namespace {

constexpr int kMaxLinkDepth = 40;  // as the kernel allows
constexpr std::string_view kTempLetters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t kTempSuffixLength = 6;
// Temporary files are ".<file>.saving-XXXXXX": hidden, and saying what they are, so no
// player's own copy of a file is ever taken for one.
constexpr std::string_view kTempMark = ".saving-";
constexpr std::chrono::milliseconds kLockPoll{10};

std::string SystemError(int error) {
    return std::strerror(error);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a save of `path` must put its file: the end of its chain of links. `existing` tells
// whether a file is there, and `info` describes it.
struct SaveTarget {
    std::string path;
    bool existing = false;
    struct stat info {};
    int error = 0;  // the reason when no save may happen here
};

SaveTarget ResolveSaveTarget(const std::string& path) {
    SaveTarget target;
    target.path = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        if (lstat(target.path.c_str(), &target.info) != 0) {
            if (errno != ENOENT) target.error = errno;
            return target;  // nothing there: the file is made here
        }
        if (S_ISREG(target.info.st_mode)) {
            target.existing = true;
            return target;
        }
        if (!S_ISLNK(target.info.st_mode)) {
            target.error = EINVAL;
            return target;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = readlink(target.path.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
            target.error = n < 0 ? errno : ENAMETOOLONG;
            return target;
        }
        link.resize(static_cast<std::size_t>(n));
        target.path = link.front() == '/' ? link : DirectoryOf(target.path) + "/" + link;
    }
    target.error = ELOOP;
    return target;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string TemporaryPrefix(const std::string& path) {
    return DirectoryOf(path) + "/." + BaseNameOf(path) + std::string(kTempMark);
}

// A failed save with the system's reason.
FileWriteResult SystemFailure(WriteStatus status, int error) {
    return {status, SystemError(error), WriteFailure::System, error};
}

// A new, empty temporary file for `path` that only this call made; the umask applies.
int CreateTemporary(const std::string& path, std::string& name) {
    std::random_device entropy;
    std::uniform_int_distribution<std::size_t> letter(0, kTempLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryPrefix(path);
        for (std::size_t k = 0; k < kTempSuffixLength; ++k) name += kTempLetters[letter(entropy)];
        const int fd =
            open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// A rename is only durable once the folder's entry is; the new file is in place either way.
void SyncDirectory(const std::string& path) {
    const int fd = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    static_cast<void>(fsync(fd));
    close(fd);
}

bool IsOurTemporaryName(std::string_view name, const std::string& base) {
    const std::string prefix = "." + base + std::string(kTempMark);
    if (name.size() != prefix.size() + kTempSuffixLength || !name.starts_with(prefix)) return false;
    return name.substr(prefix.size()).find_first_not_of(kTempLetters) == std::string_view::npos;
}

// The file a save of `path` really writes; `path` itself when its links cannot be followed.
std::string RealPath(const std::string& path) {
    const SaveTarget target = ResolveSaveTarget(path);
    return target.error == 0 ? target.path : path;
}

}  // namespace

FileStart ReadFileStart(const std::string& path, std::size_t limit) {
    FileStart start;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        // Only a name that is surely not there is missing; anything else may hide a file.
        start.status =
            errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::ReadFailed;
        return start;
    }
    start.status = ReadStatus::Unopenable;
    if (!S_ISREG(info.st_mode)) return start;

    // Non-blocking, in case a pipe took the file's place since the check.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        start.status = ReadStatus::ReadFailed;
        return start;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return start;
    }
    start.bytes.resize(limit);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t n = read(fd, start.bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            start.status = ReadStatus::ReadFailed;
            start.bytes.clear();
            return start;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    start.bytes.resize(done);
    start.status = ReadStatus::Read;
    return start;
}

DurabilityCalls SystemDurabilityCalls() {
    return {&fdatasync, &close};
}

FileWriteResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                            const DurabilityCalls& calls) {
    // Players link their files into synced folders: the file at the end of the links is
    // replaced. A link to a device must not get that device replaced by a regular file,
    // which root would be allowed to do.
    const SaveTarget target = ResolveSaveTarget(path);
    if (target.error == EINVAL)
        return {WriteStatus::NotCreated, "not a regular file", WriteFailure::NotRegular};
    if (target.error != 0) return SystemFailure(WriteStatus::NotCreated, target.error);
    if (target.existing && faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
        return SystemFailure(WriteStatus::NotCreated, errno);

    std::string temporary;
    const int fd = CreateTemporary(target.path, temporary);
    if (fd < 0) return SystemFailure(WriteStatus::NotCreated, errno);
    auto fail = [&](int error) -> FileWriteResult {
        unlink(temporary.c_str());
        return SystemFailure(WriteStatus::WriteFailed, error);
    };

    if (!WriteAll(fd, bytes)) {
        const int error = errno;
        close(fd);
        return fail(error);
    }
    if (target.existing) {
        // Root saving a player's file keeps it the player's, with its permission bits
        // (a 0444 file stays 0444). Owner first: a change of owner clears set-id bits.
        if (fchown(fd, target.info.st_uid, target.info.st_gid) != 0) {
            // A user cannot give files away: the file becomes theirs, but a member of its
            // group keeps the group, so the other members can still save.
            static_cast<void>(fchown(fd, static_cast<uid_t>(-1), target.info.st_gid));
        }
        static_cast<void>(fchmod(fd, target.info.st_mode & 07777));
    }
    // The data must be on the disk before the new file takes the old one's place: a failed
    // flush renamed over it would trade a whole file for a broken one.
    if (calls.sync(fd) != 0) {
        const int error = errno;
        calls.close(fd);
        return fail(error);
    }
    if (calls.close(fd) != 0) return fail(errno);
    if (rename(temporary.c_str(), target.path.c_str()) != 0) return fail(errno);
    SyncDirectory(target.path);
    return {};
}

bool RemoveFile(const std::string& path) {
    const SaveTarget target = ResolveSaveTarget(path);
    return target.existing && unlink(target.path.c_str()) == 0;
}

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait)
    : lockPath_(RealPath(path) + ".lock") {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        fd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ < 0) {
            // Only a folder where no lock file can be made lets a save go on unlocked: a lock
            // file that is there and cannot be taken may be another copy's, mid-save.
            struct stat there {};
            if (lstat(lockPath_.c_str(), &there) != 0) return;  // Unavailable
            // Another user's lock file: reading is enough to lock it.
            if (S_ISREG(there.st_mode))
                fd_ = open(lockPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd_ < 0) {
                status_ = Status::Refused;
                return;
            }
        }
        bool locked = false;
        while (true) {
            if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                locked = true;
                break;
            }
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK) {  // no locks on this file system
                status_ = Status::Refused;
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                status_ = Status::Busy;
                break;
            }
            std::this_thread::sleep_for(kLockPoll);
        }
        if (!locked) {
            close(fd_);
            fd_ = -1;
            return;
        }
        // The holder before us may have removed the lock file while we waited on it: then
        // ours is a lock on nothing, and the one under the name is the lock.
        struct stat held {
        }, named{};
        if (fstat(fd_, &held) == 0 && lstat(lockPath_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            status_ = Status::Held;
            return;
        }
        close(fd_);
        fd_ = -1;
    }
}

FileWriteResult FileLock::Refusal() const {
    if (status_ == Status::Busy)
        return {WriteStatus::Kept, "another copy of the game kept the file locked",
                WriteFailure::Locked};
    return {WriteStatus::Kept, "its lock file " + lockPath_ + " could not be taken",
            WriteFailure::LockRefused};
}

FileLock::~FileLock() {
    if (fd_ < 0) return;
    // Removed while still held, so nobody can take a lock on a name about to go.
    unlink(lockPath_.c_str());
    close(fd_);
}

int RemoveLeftovers(const std::string& path, std::uintmax_t maxSize) {
    const std::string real = RealPath(path);
    const std::string directory = DirectoryOf(real);
    const std::string base = BaseNameOf(real);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), &closedir);
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir.get())) {
        if (!IsOurTemporaryName(entry->d_name, base)) continue;
        const std::string name = directory + "/" + entry->d_name;
        struct stat info {};
        if (lstat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
            static_cast<std::uintmax_t>(info.st_size) > maxSize)
            continue;
        if (unlink(name.c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace zonky
