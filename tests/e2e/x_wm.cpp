// x-wm: what a window manager would do to a window, for tests under a bare X server that
// has none.
//
//   x-wm close WINDOW       the close button: a WM_DELETE_WINDOW message
//   x-wm iconify WINDOW     minimise: WM_STATE Iconic, then unmap
//   x-wm restore WINDOW     restore: map, then WM_STATE Normal
//   x-wm cover X Y W H      map a window over that part of the screen, then remove it, so
//                           what lay below must be drawn again
//   x-wm keys TEXT          give each letter of TEXT beyond ASCII a key of its own, as a
//                           keyboard layout with those letters does
//
// WINDOW is a decimal or 0x window id, as xdotool prints them. Exit status 0 on success.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr long kNormalState = 1;
constexpr long kIconicState = 3;

Window ParseWindow(const char* text) {
    return static_cast<Window>(std::strtoul(text, nullptr, 0));
}

void SetWmState(Display* display, Window window, long state) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const long data[2] = {state, 0};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data), 2);
}

void Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

// Maps a plain window over the rectangle and waits until the server has drawn it, then
// destroys it.
void Cover(Display* display, int x, int y, int w, int h) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = ExposureMask;
    const Window cover =
        XCreateWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(w),
                      static_cast<unsigned>(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, cover);
    XEvent event;
    XWindowEvent(display, cover, ExposureMask, &event);  // it is on screen
    XDestroyWindow(display, cover);
}

// The code points of UTF-8 text beyond ASCII; decoding stops at a malformed byte.
std::vector<unsigned long> LettersBeyondAscii(const std::string& text) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::vector<unsigned long> letters;
    std::mbstate_t state{};
    const char* at = text.c_str();
    for (std::size_t left = text.size(); left > 0;) {
        wchar_t letter = 0;
        const std::size_t used = std::mbrtowc(&letter, at, left, &state);
        if (used == 0 || used > left) break;  // a NUL, or an error ((size_t)-1 or -2)
        if (letter >= 0x80) letters.push_back(static_cast<unsigned long>(letter));
        at += used;
        left -= used;
    }
    return letters;
}

// xdotool types a letter the keyboard lacks by binding it to a spare key for one press and
// unbinding it at once; a client that reads the press after the unbinding gets nothing, and
// under load letters go missing. With a key of their own they arrive as typed keys do.
void GiveKeys(Display* display, const std::string& text) {
    int low = 0;
    int high = 0;
    XDisplayKeycodes(display, &low, &high);
    int perKey = 0;
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perKey);
    const auto bound = [&](KeySym keysym) {
        for (int k = 0; k < (high - low + 1) * perKey; ++k)
            if (map[k] == keysym) return true;
        return false;
    };
    int spare = high;
    for (const unsigned long letter : LettersBeyondAscii(text)) {
        const KeySym keysym = 0x1000000 | letter;  // the Unicode keysym of the letter
        if (bound(keysym)) continue;
        const auto empty = [&](int code) {
            for (int k = 0; k < perKey; ++k)
                if (map[(code - low) * perKey + k] != NoSymbol) return false;
            return true;
        };
        while (spare >= low && !empty(spare)) --spare;
        if (spare < low) break;  // no key left: xdotool binds the rest itself
        KeySym both[2] = {keysym, keysym};
        XChangeKeyboardMapping(display, spare, 2, both, 1);
        map[(spare - low) * perKey] = keysym;
    }
    XFree(map);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const bool onWindow =
        (command == "close" || command == "iconify" || command == "restore") && argc == 3;
    if (!onWindow && !(command == "cover" && argc == 6) && !(command == "keys" && argc == 3)) {
        std::fprintf(stderr,
                     "usage: x-wm close|iconify|restore WINDOW | cover X Y W H | keys TEXT\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x-wm: cannot open the display\n");
        return 1;
    }
    if (command == "keys") {
        GiveKeys(display, argv[2]);
    } else if (command == "cover") {
        Cover(display, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
              std::atoi(argv[5]));
    } else {
        const Window window = ParseWindow(argv[2]);
        if (command == "close") {
            Close(display, window);
        } else if (command == "iconify") {
            SetWmState(display, window, kIconicState);
            XUnmapWindow(display, window);
        } else {
            XMapWindow(display, window);
            SetWmState(display, window, kNormalState);
        }
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
