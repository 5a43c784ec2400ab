// Which windowing system the program runs on, decided before the application object exists.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace zonky {

// The arguments for the application object, with the platform added unless the player chose
// one (QT_QPA_PLATFORM or -platform): X11 whenever an X display answers, XWayland included,
// since a Wayland window is never told that it was minimised and so only there does
// minimising by the title bar pause the game; Wayland only without an X display. When no
// display answers, prints the one line that says so and `found` is false. Lives as long as the
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
