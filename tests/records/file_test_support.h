// File tests run each in a fresh temporary directory that is their current directory, so
// the bare file names the game uses never reach a real player's files.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zonky {

using Bytes = std::vector<std::uint8_t>;

class InTempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::filesystem::current_path();
        temp_ = std::make_unique<test::TempDir>("zonky-records");
        dir_ = temp_->path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(home_);
        temp_.reset();
    }

    static void Write(const std::string& name, const Bytes& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << name;
    }
    static void Write(const std::string& name, const std::string& text) {
        Write(name, Bytes(text.begin(), text.end()));
    }
    // The file's bytes, or nothing when there is no regular file of that name.
    static std::optional<Bytes> Read(const std::string& name) {
        if (!std::filesystem::is_regular_file(name)) return std::nullopt;
        std::ifstream in(name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::optional<std::string> ReadText(const std::string& name) {
        const auto bytes = Read(name);
        if (!bytes) return std::nullopt;
        return std::string(bytes->begin(), bytes->end());
    }
    // Every name in the directory, sorted: shows leftovers such as temporary files.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;

  private:
    std::filesystem::path home_;
    std::unique_ptr<test::TempDir> temp_;
};

// Runs `body` without root's power to ignore permissions: in a child process that drops
// to an unprivileged user (a member of `alsoIn` too, when given) when the tests run as root,
// else right here. The body returns what went wrong, empty when all was as expected.
inline std::string RunUnprivileged(const std::function<std::string()>& body,
                                   std::optional<gid_t> alsoIn = std::nullopt) {
    if (geteuid() != 0) return body();
    int channel[2];
    if (pipe(channel) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        close(channel[0]);
        constexpr uid_t kNobody = 65534;
        std::string message;
        const gid_t groups[] = {alsoIn.value_or(kNobody)};
        if (setgroups(1, groups) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0 ||
            geteuid() == 0)
            message = "could not drop privileges";
        else
            message = body();
        const ssize_t ignored = write(channel[1], message.data(), message.size());
        static_cast<void>(ignored);
        _exit(0);
    }
    close(channel[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) message += " (the child did not exit)";
    return message;
}

// Runs `body(copy)` in `copies` child processes at once, as copies of the game sharing a
// folder: they start together when all are there. Returns what went wrong in any of them.
inline std::string RunConcurrently(int copies, const std::function<std::string(int)>& body) {
    int start[2];
    int report[2];
    if (pipe(start) != 0 || pipe(report) != 0) return "pipe failed";
    std::vector<pid_t> children;
    for (int copy = 0; copy < copies; ++copy) {
        const pid_t child = fork();
        if (child < 0) return "fork failed";
        if (child == 0) {
            close(start[1]);
            close(report[0]);
            char go = 0;
            std::string message;
            if (read(start[0], &go, 1) != 1)
                message = "no start";
            else
                message = body(copy);
            if (!message.empty()) message = "copy " + std::to_string(copy) + ": " + message + "\n";
            const ssize_t ignored = write(report[1], message.data(), message.size());
            static_cast<void>(ignored);
            _exit(0);
        }
        children.push_back(child);
    }
    close(start[0]);
    close(report[1]);
    const std::string go(static_cast<std::size_t>(copies), 'g');
    const ssize_t started = write(start[1], go.data(), go.size());
    close(start[1]);
    std::string message = started == copies ? "" : "start failed";
    char buffer[256];
    for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(report[0]);
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) message += " (a copy did not exit)";
    }
    return message;
}

// Puts a name in the file's place whose reads fail with EIO, as a failing disk's do: a link
// to this process's memory file, read at address 0, which is never mapped. False when the
// system does not behave so here.
inline bool MakeUnreadable(const std::string& name) {
    constexpr char kMemory[] = "/proc/self/mem";
    const int fd = open(kMemory, O_RDONLY);
    if (fd < 0) return false;
    char byte = 0;
    const bool fails = read(fd, &byte, 1) < 0 && errno == EIO;
    close(fd);
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
    return fails && symlink(kMemory, name.c_str()) == 0;
}

// While alive, no file can grow past `bytes`: writes beyond fail with EFBIG instead of
// raising SIGXFSZ. This makes a write fail half-way, as a full disk does.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    sighandler_t oldHandler_ = SIG_DFL;
};

}  // namespace zonky
