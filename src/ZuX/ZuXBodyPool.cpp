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

// From now on the calling thread keeps blocks, and frees them when it ends; a thread whose Reaper
// has run never keeps any again.
void KeepBlocks() noexcept {
    if (t_keeping || t_reaped) return;
    (void)&t_reaper;
    t_keeping = true;
}

// The thread that loads the library (the main thread of a program linked with it) makes its
// Reaper now, not at its first release. When a program exits, the main thread's thread-local
// objects are destroyed before its static objects, so a Reaper made later, by a first release
// from a static object's destructor, would never run, and the blocks kept from then on would stay
// allocated. Made now, it has run by then, and such releases go straight to operator delete.
struct KeepingAtLoad {
    KeepingAtLoad() noexcept { KeepBlocks(); }
} const s_keepingAtLoad;

} // namespace

void* AllocateNew(std::size_t size) {
    return ::operator new((ClassOf(size) + 1) * kGrain);
}

void DeallocateElsewhere(void* block) noexcept {
    KeepBlocks(); // the thread's first block, unless it keeps them already
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
