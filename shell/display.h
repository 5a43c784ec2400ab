// Which windowing system the program runs on, decided before the application object exists.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace zonky {

inline constexpr char kNoDisplayMessage[] =
    "zonkymosaro: no graphical display found (DISPLAY and WAYLAND_DISPLAY are unset or "
    "unreachable)";

// What the environment offers: whether the player chose Qt's platform (QT_QPA_PLATFORM or
// -platform), and which displays answer a connection.
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

// X11 whenever an X display answers, XWayland included: a Wayland client is never told that
// it was minimised, so only there does minimising by the title bar pause the game. Wayland
// only without an X display.
DisplayChoice ChooseDisplay(const DisplayEnvironment& environment);

// The arguments for the application object, with the chosen platform added; when no display
// answers, prints the one line that says so and `found` is false. Lives as long as the
// application object: it keeps the connection that found the X display open, since an X
// server left without clients resets and turns away the next one for a moment.
class ApplicationArguments {
  public:
    ApplicationArguments(int argc, char** argv);
    bool found() const { return found_; }
    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

  private:
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> x_{nullptr, nullptr};
    bool found_ = true;
    std::vector<std::string> arguments_;
    std::vector<char*> pointers_;
    int argc_ = 0;
};

}  // namespace zonky
