#include "shell/sdl_start.h"

namespace zonky {

std::mutex& SdlStartLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace zonky
