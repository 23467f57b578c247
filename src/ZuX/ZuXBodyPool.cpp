#include "ZuXBodyPool.h"

#include <cstddef>
#include <new>

namespace zuxpool {

__attribute__((tls_model("initial-exec"))) thread_local FreeList t_lists[kLargestBlock / kGrain];
__attribute__((tls_model("initial-exec"))) thread_local bool t_keeping;

namespace {

// Whether the thread's Reaper was made; once it has run, the thread keeps no more blocks.
__attribute__((tls_model("initial-exec"))) thread_local bool t_reaped;

// Frees the thread's lists when the thread ends. Made the first time the thread would keep a
// block; bodies released after it has run (by objects destroyed later at thread or program exit)
// go straight to operator delete.
struct Reaper {
    Reaper() = default;
    Reaper(const Reaper&) = delete;
    Reaper& operator=(const Reaper&) = delete;
    ~Reaper() {
        t_keeping = false;
        t_reaped = true;
        ReleaseKeptBlocks();
    }
};

thread_local Reaper t_reaper;

} // namespace

void* AllocateNew(std::size_t size) {
    return ::operator new((ClassOf(size) + 1) * kGrain);
}

void DeallocateElsewhere(void* block) noexcept {
    if (!t_keeping && !t_reaped) {
        // The thread's first block: from now on it keeps them, and frees them when it ends.
        (void)&t_reaper;
        t_keeping = true;
    }
    ::operator delete(block);
}

void ReleaseKeptBlocks() noexcept {
    for (FreeList& list : t_lists) {
        while (FreeBlock* block = list.first) {
            list.first = block->next;
            ::operator delete(block);
        }
        list.count = 0;
    }
}

} // namespace zuxpool
