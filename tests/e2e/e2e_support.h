// What the end-to-end tests share: a private X server, the program under test with its
// control channel, xdotool and screenshots. Every wait is for a condition, with a timeout.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/json_reader.h"
#include "tests/support/temp_dir.h"

namespace zonky::e2e {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::Json;
using test::TempDir;

// Generous, for a loaded machine: the conditions usually hold within a fraction of it.
inline constexpr milliseconds kTimeout{20000};

// A child process; killed and reaped when the object goes, if it is still there.
class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const fs::path& cwd, int keepFd = -1, int outFd = -1);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    bool Running();
    // The exit status once it has ended within the time (128 + N for signal N), else
    // nothing.
    std::optional<int> WaitExit(milliseconds timeout);
    void Kill();
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Runs a helper to its end (killed after the timeout); returns its exit status and, when
// asked, its standard output.
int RunTool(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            std::string* out = nullptr, milliseconds timeout = kTimeout);

// Waits until `ready` holds, checking it now and then; false at the timeout.
bool WaitUntil(const std::function<bool()>& ready, milliseconds timeout = kTimeout);

// An Xvfb server on a display number it picks itself, with a cookie of its own.
class XServer {
  public:
    explicit XServer(const fs::path& dir);
    ~XServer();
    bool ok() const { return !display_.empty(); }
    // DISPLAY and XAUTHORITY, for every client of this server.
    std::map<std::string, std::string> Env() const;
    const std::string& display() const { return display_; }

    // xdotool with these arguments; its output when asked.
    int Xdotool(const std::vector<std::string>& args, std::string* out = nullptr) const;
    // The visible top-level windows whose title matches the pattern, as decimal ids.
    std::vector<std::string> FindWindows(const std::string& titlePattern) const;
    // Waits for one and returns its id, or an empty string.
    std::string WaitForWindow(const std::string& titlePattern,
                              milliseconds timeout = kTimeout) const;
    // The window manager's part, which a bare server lacks (see x_wm.cpp).
    int Wm(const std::vector<std::string>& args) const;
    // Starts a real window manager (openbox), for what only its frames show; true once it
    // manages the screen.
    bool StartWindowManager();
    // A top-level window's frame as the window manager drew it: x, y, width, height; waits
    // until the window is framed, shown and still. Empty when it never is.
    std::vector<int> FrameGeometry(const std::string& window) const;
    // Types text into the focused window, `delayMs` between keys, every letter on a key of
    // its own. True when xdotool did.
    bool Type(const std::string& text, int delayMs) const;
    // Gives the window the keyboard focus, as clicking it would.
    void Focus(const std::string& window) const;
    // The whole screen to a PNG file.
    bool Screenshot(const fs::path& file) const;

  private:
    fs::path auth_;
    std::string display_;
    Process server_;
    Process manager_;
};

// The program under test (zonkymosaro-e2e) in a game directory of its own.
class GameProgram {
  public:
    // `wrapper` runs before the program, which gets its arguments appended.
    GameProgram(const XServer& x, const fs::path& gameDir, const fs::path& workDir,
                const std::vector<std::string>& wrapper = {});
    ~GameProgram();

    bool Running() { return process_.Running(); }
    std::optional<int> WaitExit(milliseconds timeout = kTimeout) {
        return process_.WaitExit(timeout);
    }

    // One command, one answer line; empty when no answer came in time.
    std::string Command(const std::string& line, milliseconds timeout = kTimeout);
    // The state dump; throws when the program does not answer.
    Json Dump(milliseconds timeout = kTimeout);
    // Dumps until `ready` holds for one; returns that dump, or nothing at the timeout.
    std::optional<Json> WaitFor(const std::function<bool(const Json&)>& ready,
                                milliseconds timeout = kTimeout);
    const std::string& stderrPath() const { return stderr_; }
    std::string Stderr() const;

  private:
    fs::path control_;
    fs::path answers_;
    std::string stderr_;
    int controlFd_ = -1;
    int answersFd_ = -1;
    std::string pending_;
    Process process_;
};

// Where a test keeps its screenshots: a folder in the build tree named after the test.
fs::path ArtefactDir(const std::string& test);

// The bytes of a file, or nothing when there is no regular file there.
std::optional<std::vector<unsigned char>> ReadBytes(const fs::path& file);

bool HasString(const std::vector<std::string>& list, const std::string& item);

}  // namespace zonky::e2e
