// What a fuzz target demands of every input; a broken demand aborts, which libFuzzer and
// the corpus runner both report with the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace zonky {

inline void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

}  // namespace zonky
