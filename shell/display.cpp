#include "shell/display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace zonky {
namespace {

constexpr char kNoDisplayMessage[] =
    "zonkymosaro: no graphical display found (DISPLAY and WAYLAND_DISPLAY are unset or "
    "unreachable)";

// What the environment offers: whether the player chose Qt's platform, and which displays
// answer a connection.
struct DisplayEnvironment {
    bool platformChosen = false;
    bool xAnswers = false;
    bool waylandAnswers = false;
};

enum class DisplayChoice {
    PlayersChoice,  // left to Qt as the player set it
    X11,
    Wayland,
    None,
};

DisplayChoice ChooseDisplay(const DisplayEnvironment& environment) {
    if (environment.platformChosen) return DisplayChoice::PlayersChoice;
    if (environment.xAnswers) return DisplayChoice::X11;
    if (environment.waylandAnswers) return DisplayChoice::Wayland;
    return DisplayChoice::None;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

using XConnection = std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)>;

// How long an X display may take to answer: a stopped server accepts and never answers, a
// host that cannot be reached never even accepts.
constexpr std::chrono::seconds kXAnswerWait{2};

// The same connection Qt's X11 platform makes, authentication included; empty when the
// display does not answer within the wait. A connection still trying then is left to its
// thread, which closes it should it ever answer.
XConnection ConnectX() {
    XConnection connection(nullptr, xcb_disconnect);
    if (!Set("DISPLAY")) return connection;
    struct Attempt {
        std::mutex mutex;
        std::condition_variable done;
        xcb_connection_t* connection = nullptr;
        bool finished = false;
        bool abandoned = false;
    };
    const auto attempt = std::make_shared<Attempt>();
    std::thread([attempt] {
        xcb_connection_t* made = xcb_connect(nullptr, nullptr);
        const std::lock_guard lock(attempt->mutex);
        if (attempt->abandoned) {
            xcb_disconnect(made);
            return;
        }
        attempt->connection = made;
        attempt->finished = true;
        attempt->done.notify_all();
    }).detach();
    std::unique_lock lock(attempt->mutex);
    if (!attempt->done.wait_for(lock, kXAnswerWait, [&] { return attempt->finished; })) {
        attempt->abandoned = true;
        return connection;
    }
    connection.reset(attempt->connection);
    if (xcb_connection_has_error(connection.get()) != 0) connection.reset();
    return connection;
}

// A Wayland compositor listens on a socket named by WAYLAND_DISPLAY, relative to
// XDG_RUNTIME_DIR unless it is a path.
bool WaylandDisplayAnswers() {
    if (!Set("WAYLAND_DISPLAY")) return false;
    std::string path = std::getenv("WAYLAND_DISPLAY");
    if (path.front() != '/') {
        if (!Set("XDG_RUNTIME_DIR")) return false;
        path = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answers;
}

}  // namespace

ApplicationArguments::ApplicationArguments(int argc, char** argv) : arguments_(argv, argv + argc) {
    DisplayEnvironment environment;
    environment.platformChosen = Set("QT_QPA_PLATFORM");
    for (int k = 1; k < argc; ++k)
        if (std::strcmp(argv[k], "-platform") == 0 || std::strcmp(argv[k], "--platform") == 0)
            environment.platformChosen = true;
    if (!environment.platformChosen) {
        x_ = ConnectX();
        environment.xAnswers = x_ != nullptr;
        if (!environment.xAnswers) environment.waylandAnswers = WaylandDisplayAnswers();
    }
    // Qt reads the platform from its arguments; the environment, which programs started from
    // here (the links' browser) would inherit, stays as it is.
    const auto choose = [this](const char* platform) {
        arguments_.insert(arguments_.begin() + (arguments_.empty() ? 0 : 1),
                          {"-platform", platform});
    };
    switch (ChooseDisplay(environment)) {
        case DisplayChoice::PlayersChoice:
            break;
        case DisplayChoice::X11:
            choose("xcb");
            break;
        case DisplayChoice::Wayland:
            choose("wayland");
            break;
        case DisplayChoice::None:
            std::fprintf(stderr, "%s\n", kNoDisplayMessage);
            found_ = false;
            break;
    }
    for (std::string& argument : arguments_) pointers_.push_back(argument.data());
    argc_ = static_cast<int>(arguments_.size());
    pointers_.push_back(nullptr);
}

}  // namespace zonky
