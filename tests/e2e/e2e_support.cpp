#include "tests/e2e/e2e_support.h"

#include "tests/support/tool_table.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zonky::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// How often a condition is looked at again while waiting for it.
constexpr milliseconds kPoll{20};

std::vector<std::string> EnvironmentOf(const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> all = env;
    if (!all.count("PATH")) all["PATH"] = "/usr/local/bin:/usr/bin:/bin";
    if (!all.count("LANG")) all["LANG"] = "C.UTF-8";
    std::vector<std::string> lines;
    for (const auto& [key, value] : all) lines.push_back(key + "=" + value);
    return lines;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Forks and execs; in the child, fd 0 is /dev/null and fds 1 and 2 go to `out` (a pipe or
// a file), and `keepFd` survives the exec.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const fs::path& cwd, int out, int keepFd) {
    std::vector<std::string> envLines = EnvironmentOf(env);
    // Only programs of the one table, found at once, or a failure that names the package.
    for (const std::string& line : envLines)
        if (line.rfind("PATH=", 0) == 0) test::RequireTool(argv.at(0), line.substr(5));
    std::vector<std::string> args = argv;
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(envLines);
    const std::string dir = cwd.string();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    // The child: only async-signal-safe calls from here on.
    setpgid(0, 0);
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    } else {
        dup2(null, 1);
    }
    if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
    execvpe(argp[0], argp.data(), envp.data());
    _exit(127);
}

}  // namespace

Process::Process(const std::vector<std::string>& argv,
                 const std::map<std::string, std::string>& env, const fs::path& cwd, int keepFd,
                 int outFd) {
    pid_ = Spawn(argv, env, cwd, outFd, keepFd);
}

Process::~Process() {
    Kill();
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), status_(other.status_) {
    other.pid_ = -1;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        pid_ = other.pid_;
        status_ = other.status_;
        other.pid_ = -1;
    }
    return *this;
}

bool Process::Running() {
    if (pid_ < 0 || status_) return false;
    int raw = 0;
    const pid_t done = waitpid(pid_, &raw, WNOHANG);
    if (done == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    return done == 0;
}

std::optional<int> Process::WaitExit(milliseconds timeout) {
    if (pid_ < 0) return status_;
    WaitUntil([this] { return !Running(); }, timeout);
    return status_;
}

void Process::Kill() {
    if (pid_ < 0) return;
    if (Running()) {
        kill(-pid_, SIGTERM);  // its process group: the program and anything it started
        if (!WaitExit(milliseconds(5000))) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_ = -1;
}

int RunTool(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            std::string* out, milliseconds timeout) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = Spawn(argv, env, fs::path(), pipeFds[1], -1);
    close(pipeFds[1]);
    std::string text;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) break;
        char buffer[4096];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // the tool has finished writing
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int raw = 0;
    const bool ended =
        WaitUntil([&] { return waitpid(pid, &raw, WNOHANG) == pid; },
                  std::max(milliseconds(1),
                           std::chrono::duration_cast<milliseconds>(deadline - Clock::now())));
    if (!ended) {
        kill(-pid, SIGKILL);
        waitpid(pid, &raw, 0);
        return -1;
    }
    if (out) *out = text;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool WaitUntil(const std::function<bool()>& ready, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (ready()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPoll);
    }
}

// The cookie goes into the file as a wildcard entry (any host, any display number), since
// the server picks its number only once it runs.
XServer::XServer(const fs::path& dir) : auth_(dir / "Xauthority") {
    std::random_device random;
    std::string cookie;
    for (int k = 0; k < 16; ++k) cookie.push_back(static_cast<char>(random() & 0xFF));
    {
        std::ofstream file(auth_, std::ios::binary);
        const auto put16 = [&](std::size_t n) {
            file.put(static_cast<char>((n >> 8) & 0xFF));
            file.put(static_cast<char>(n & 0xFF));
        };
        const std::string name = "MIT-MAGIC-COOKIE-1";
        file.put(static_cast<char>(0xFF));  // FamilyWild
        file.put(static_cast<char>(0xFF));
        put16(0);  // address
        put16(0);  // display number
        put16(name.size());
        file << name;
        put16(cookie.size());
        file << cookie;
    }
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    // Its messages (about display numbers taken by other servers) go to a log of its own.
    const int log =
        open((dir / "xvfb.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    // Without -noreset the server resets whenever its last client leaves (a program that
    // ended, each xdotool) and turns away whoever connects in that moment.
    server_ = Process({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                       "1024x768x24", "-nolisten", "tcp", "-noreset", "-auth", auth_.string()},
                      {}, dir, ready[1], log);
    close(ready[1]);
    if (log >= 0) close(log);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    const auto deadline = Clock::now() + kTimeout;
    while (number.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        pollfd fd{ready[0], POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0) break;
        char buffer[32];
        const ssize_t n = read(ready[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    close(ready[0]);
    if (number.find('\n') == std::string::npos) return;
    display_ = ":" + number.substr(0, number.find('\n'));
    // The number comes as the server starts listening, and now and then a client that
    // connects at that moment is still turned away: the server is ready once it answers one.
    if (!WaitUntil([this] { return Xdotool({"getdisplaygeometry"}) == 0; })) display_.clear();
}

XServer::~XServer() = default;

std::map<std::string, std::string> XServer::Env() const {
    return {{"DISPLAY", display_}, {"XAUTHORITY", auth_.string()}};
}

int XServer::Xdotool(const std::vector<std::string>& args, std::string* out) const {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, Env(), out);
}

std::vector<std::string> XServer::FindWindows(const std::string& titlePattern) const {
    std::string out;
    // A window that goes away while xdotool walks the tree (a dialog just closed) ends the
    // search with an X error on the same pipe: such an answer finds nothing, and the caller
    // asks again.
    if (Xdotool({"search", "--onlyvisible", "--name", titlePattern}, &out) != 0) return {};
    std::vector<std::string> ids;
    std::istringstream lines(out);
    for (std::string id; std::getline(lines, id);) {
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos) return {};
        ids.push_back(id);
    }
    return ids;
}

std::string XServer::WaitForWindow(const std::string& titlePattern, milliseconds timeout) const {
    std::string found;
    WaitUntil(
        [&] {
            const std::vector<std::string> ids = FindWindows(titlePattern);
            if (!ids.empty()) found = ids.front();
            return !found.empty();
        },
        timeout);
    return found;
}

int XServer::Wm(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{ZONKY_X_WM};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, Env());
}

bool XServer::StartWindowManager() {
    std::map<std::string, std::string> env = Env();
    env["HOME"] = auth_.parent_path().string();
    const int log = open((auth_.parent_path() / "openbox.log").c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    manager_ = Process({"openbox", "--sm-disable"}, env, auth_.parent_path(), -1, log);
    if (log >= 0) close(log);
    return WaitUntil([this] {
        std::string out;
        return RunTool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, Env(), &out) == 0 &&
               out.find("window id") != std::string::npos;
    });
}

std::vector<int> XServer::FrameGeometry(const std::string& window) const {
    std::string info;
    std::string extents;
    const auto read = [&]() -> std::vector<int> {
        info.clear();
        extents.clear();
        RunTool({"xwininfo", "-id", window}, Env(), &info);
        RunTool({"xprop", "-id", window, "_NET_FRAME_EXTENTS"}, Env(), &extents);
        if (info.find("IsViewable") == std::string::npos) return {};
        const auto number = [&](const std::string& label) {
            const std::size_t at = info.find(label);
            return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + label.size());
        };
        int left = 0, right = 0, top = 0, bottom = 0;
        const std::size_t equals = extents.find('=');
        if (equals == std::string::npos ||
            std::sscanf(extents.c_str() + equals + 1, "%d, %d, %d, %d", &left, &right, &top,
                        &bottom) != 4)
            return {};
        return {number("Absolute upper-left X:") - left, number("Absolute upper-left Y:") - top,
                number("Width:") + left + right, number("Height:") + top + bottom};
    };
    // The manager frames and places a window after it is mapped: the same answer twice, a
    // moment apart, is where it stays.
    std::vector<int> previous;
    std::vector<int> frame;
    WaitUntil([&] {
        previous = frame;
        frame = read();
        if (frame.empty() || frame != previous) {
            std::this_thread::sleep_for(milliseconds(100));
            return false;
        }
        return true;
    });
    if (frame == previous && !frame.empty()) return frame;
    // Says what the server last answered, so that a failure shows whether the window was
    // unmapped, gone or never given a frame.
    std::fprintf(stderr, "window %s never settled in a frame\nxwininfo: %s\nxprop: %s\n",
                 window.c_str(), info.c_str(), extents.c_str());
    return {};
}

bool XServer::Type(const std::string& text, int delayMs) const {
    return Wm({"keys", text}) == 0 &&
           Xdotool({"type", "--delay", std::to_string(delayMs), text}) == 0;
}

void XServer::Focus(const std::string& window) const {
    Xdotool({"windowfocus", "--sync", window});
}

bool XServer::Screenshot(const fs::path& file) const {
    fs::create_directories(file.parent_path());
    return RunTool({"import", "-window", "root", file.string()}, Env()) == 0;
}

GameProgram::GameProgram(const XServer& x, const fs::path& gameDir, const fs::path& workDir,
                         const std::vector<std::string>& wrapper)
    : control_(workDir / "control"),
      answers_(workDir / "answers"),
      stderr_((workDir / "program.log").string()) {
    mkfifo(control_.c_str(), 0600);
    mkfifo(answers_.c_str(), 0600);
    // Read-write, like the program: opening never waits, and the pipes stay open between
    // commands whatever the other side does.
    controlFd_ = open(control_.c_str(), O_RDWR | O_CLOEXEC);
    answersFd_ = open(answers_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const fs::path runtime = workDir / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    std::map<std::string, std::string> env = x.Env();
    env["HOME"] = workDir.string();
    env["XDG_RUNTIME_DIR"] = runtime.string();
    env["XDG_CONFIG_HOME"] = (workDir / "config").string();
    env["SDL_AUDIODRIVER"] = "dummy";
    const int log = open(stderr_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    // The program's output goes to its log, for the test's messages.
    std::vector<std::string> argv = wrapper;
    argv.insert(argv.end(), {ZONKY_E2E_PROGRAM, control_.string(), answers_.string()});
    process_ = Process(argv, env, gameDir, -1, log);
    if (log >= 0) close(log);
}

GameProgram::~GameProgram() {
    process_.Kill();
    if (controlFd_ >= 0) close(controlFd_);
    if (answersFd_ >= 0) close(answersFd_);
}

std::string GameProgram::Command(const std::string& line, milliseconds timeout) {
    const std::string text = line + "\n";
    if (write(controlFd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return "";
    const auto deadline = Clock::now() + timeout;
    while (pending_.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !process_.Running()) return "";
        pollfd fd{answersFd_, POLLIN, 0};
        // Short polls, so that a program that died is noticed at once.
        if (poll(&fd, 1, static_cast<int>(std::min<long long>(left, 200))) < 0 && errno != EINTR)
            return "";
        char buffer[65536];
        const ssize_t n = read(answersFd_, buffer, sizeof buffer);
        if (n > 0) pending_.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t end = pending_.find('\n');
    std::string answer = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return answer;
}

Json GameProgram::Dump(milliseconds timeout) {
    const std::string answer = Command("dump", timeout);
    if (answer.empty() || answer.front() != '{') {
        const std::optional<int> status = process_.WaitExit(milliseconds(0));
        throw std::runtime_error(
            (status ? "no state dump: the program ended with status " + std::to_string(*status)
                    : std::string("no state dump: the program hangs")) +
            " (answer '" + answer + "')\n" + Stderr());
    }
    return Json::Parse(answer);
}

std::optional<Json> GameProgram::WaitFor(const std::function<bool(const Json&)>& ready,
                                         milliseconds timeout) {
    std::optional<Json> found;
    const auto deadline = Clock::now() + timeout;
    WaitUntil(
        [&] {
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
            Json dump = Dump(std::max(left, milliseconds(1000)));
            if (ready(dump)) found = std::move(dump);
            return found.has_value();
        },
        timeout);
    return found;
}

std::string GameProgram::Stderr() const {
    std::ifstream in(stderr_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path ArtefactDir(const std::string& test) {
    return fs::path(ZONKY_E2E_ARTEFACTS) / test;
}

std::optional<std::vector<unsigned char>> ReadBytes(const fs::path& file) {
    if (!fs::is_regular_file(file)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

bool HasString(const std::vector<std::string>& list, const std::string& item) {
    for (const std::string& s : list)
        if (s == item) return true;
    return false;
}

}  // namespace zonky::e2e
