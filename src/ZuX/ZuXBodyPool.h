// Not part of the public interface.
//
// Where bodies are allocated. A walk makes and releases one body per node it visits, so the
// allocation is a large part of what a handle costs. Bodies come from small per-thread lists of
// freed blocks: taking one and giving one back are a few instructions, where malloc and free
// take about a hundred. The body and the shared pointer's count live in two blocks of the list,
// because boost's single-block make_shared copies the new pointer once inside, which costs two
// atomic count operations per body.
//
// Bodies may be released on any thread: a block goes back to the list of the thread that releases
// it, whichever thread took it. Each list is used only by its own thread, so nothing is locked;
// blocks move between threads as bodies do, and a list never holds more than a few hundred
// blocks. A thread's lists are freed when it ends, the main thread's before static objects are
// destroyed: bodies those release go straight back to operator delete (ZuXBodyPool.cpp).
#ifndef ZUX_ZUXBODYPOOL_H
#define ZUX_ZUXBODYPOOL_H

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <new>

namespace zuxpool {

/// The largest block the lists keep; larger requests go to operator new.
constexpr std::size_t kLargestBlock = 64;
/// The lists hold blocks of 16, 32, 48 and 64 bytes.
constexpr std::size_t kGrain = 16;
/// Blocks a thread keeps per size; what it releases beyond that goes back to operator delete.
constexpr std::size_t kKeptBlocks = 256;

struct FreeBlock {
    FreeBlock* next;
};

struct FreeList {
    FreeBlock* first;
    std::size_t count;
};

// The calling thread's lists, and whether it may keep blocks: set once the thread will free its
// lists when it ends, cleared when it has. Plain data, so that reaching it takes no
// initialisation check, in the initial-exec model, so that a thread reaches its copy at a fixed
// offset instead of calling __tls_get_addr (which would cost more than the lists save); the few
// bytes fit the space the loader keeps for libraries opened later with dlopen.
extern __attribute__((tls_model("initial-exec"))) thread_local FreeList t_lists[kLargestBlock / kGrain];
extern __attribute__((tls_model("initial-exec"))) thread_local bool t_keeping;

void* AllocateNew(std::size_t size);
void DeallocateElsewhere(void* block) noexcept;

inline std::size_t ClassOf(std::size_t size) {
    return (size + kGrain - 1) / kGrain - 1;
}

/// A block of at least `size` bytes (at most kLargestBlock), aligned for any object of that
/// size; throws std::bad_alloc.
inline void* Allocate(std::size_t size) {
    FreeList& list = t_lists[ClassOf(size)];
    if (FreeBlock* block = list.first) {
        list.first = block->next;
        --list.count;
        return block;
    }
    return AllocateNew(size);
}

/// Gives back a block that Allocate made for the same `size`.
inline void Deallocate(void* block, std::size_t size) noexcept {
    FreeList& list = t_lists[ClassOf(size)];
    if (!t_keeping || list.count >= kKeptBlocks) return DeallocateElsewhere(block);
    list.first = new (block) FreeBlock{list.first};
    ++list.count;
}

/// Frees the blocks the calling thread keeps, so that its next allocations ask operator new (the
/// out-of-memory tests rely on that).
void ReleaseKeptBlocks() noexcept;

/// An allocator on the lists, for the shared pointer's count.
template <class T>
struct Allocator {
    using value_type = T;

    Allocator() = default;
    template <class U>
    Allocator(const Allocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t n) {
        if (n != 1 || sizeof(T) > kLargestBlock) return static_cast<T*>(::operator new(n * sizeof(T)));
        return static_cast<T*>(Allocate(sizeof(T)));
    }
    void deallocate(T* block, std::size_t n) noexcept {
        if (n != 1 || sizeof(T) > kLargestBlock)
            ::operator delete(block);
        else
            Deallocate(block, sizeof(T));
    }

    template <class U>
    bool operator==(const Allocator<U>& /*other*/) const noexcept {
        return true;
    }
    template <class U>
    bool operator!=(const Allocator<U>& /*other*/) const noexcept {
        return false;
    }
};

/// Destroys a body and gives its block back.
template <class Body>
struct Deleter {
    void operator()(Body* body) const noexcept {
        body->~Body();
        Deallocate(body, sizeof(Body));
    }
};

/// A new body, made as `Body(arguments...)`; throws std::bad_alloc.
template <class Body, class... Arguments>
boost::shared_ptr<Body> New(Arguments&&... arguments) {
    static_assert(sizeof(Body) <= kLargestBlock, "bodies fit the lists' blocks");
    void* block = Allocate(sizeof(Body));
    Body* body;
    try {
        body = new (block) Body(static_cast<Arguments&&>(arguments)...);
    } catch (...) {
        Deallocate(block, sizeof(Body));
        throw;
    }
    // When the count cannot be allocated, boost destroys the body with the deleter and throws.
    return boost::shared_ptr<Body>(body, Deleter<Body>(), Allocator<Body>());
}

} // namespace zuxpool

#endif
