// Counts heap allocations while a Counting object lives. It replaces the global operator
// new and delete, so include it in exactly one file of a test program of its own.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

// The replaced operators pair new with malloc and delete with free, which GCC cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace zonky::test {
inline std::atomic<long> gAllocations{0};
inline std::atomic<bool> gCounting{false};

class Counting {
  public:
    Counting() {
        gAllocations = 0;
        gCounting = true;
    }
    ~Counting() { gCounting = false; }
    Counting(const Counting&) = delete;
    Counting& operator=(const Counting&) = delete;
    long count() const { return gAllocations; }
};
}  // namespace zonky::test

void* operator new(std::size_t size) {
    if (zonky::test::gCounting) ++zonky::test::gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
