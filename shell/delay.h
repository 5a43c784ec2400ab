// Waits while the window keeps painting and answering: a nested event loop that sleeps until
// the next event or the deadline, on the monotonic clock.
#pragma once

namespace zonky {

void Delay(int ms);

}  // namespace zonky
