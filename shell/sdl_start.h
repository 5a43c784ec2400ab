// SDL keeps the counts of its started subsystems without a lock of its own, and the sound
// and the game pads start theirs on threads of their own: both take this one lock around
// every start and stop of an SDL subsystem.
#pragma once

#include <mutex>

namespace zonky {

std::mutex& SdlStartLock();

}  // namespace zonky
