#include "FailingAllocator.h"

#include "ZuXBodyPool.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <new>

namespace {

// Per allocator: -1 lets every request through; otherwise how many requests are still allowed
// before the refusals start, and how many refusals are left (negative: no end).
thread_local long t_allowed[2] = {-1, -1};
thread_local long t_refusals[2] = {-1, -1};
thread_local long t_refused = 0;

bool Refuse(zuxtest::Allocator which) {
    long& allowed = t_allowed[static_cast<int>(which)];
    long& refusals = t_refusals[static_cast<int>(which)];
    if (allowed < 0) return false;
    if (allowed > 0) {
        --allowed;
        return false;
    }
    if (refusals == 0) return false;
    if (refusals > 0) --refusals;
    ++t_refused;
    return true;
}

void* Allocate(std::size_t size, zuxtest::Allocator which) {
    if (Refuse(which)) return nullptr;
    return std::malloc(size ? size : 1);
}

void* NewOrThrow(std::size_t size) {
    if (void* p = Allocate(size, zuxtest::Allocator::OperatorNew)) return p;
    throw std::bad_alloc();
}

void* PugixmlAllocate(std::size_t size) {
    return Allocate(size, zuxtest::Allocator::Pugixml);
}

// pugixml allocates through PugixmlAllocate for the whole run, so that memory it took before a
// test can be freed with the same functions during one.
const bool s_pugixmlHooked = (pugi::set_memory_management_functions(PugixmlAllocate, std::free), true);

} // namespace

void* operator new(std::size_t size) {
    return NewOrThrow(size);
}
void* operator new[](std::size_t size) {
    return NewOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, zuxtest::Allocator::OperatorNew);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, zuxtest::Allocator::OperatorNew);
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

namespace zuxtest {

ScopedAllocationFailure::ScopedAllocationFailure(Allocator which, long allowed, long refusals)
    : m_which(which), m_previousAllowed(t_allowed[static_cast<int>(which)]),
      m_previousRefusals(t_refusals[static_cast<int>(which)]) {
    (void)s_pugixmlHooked;
    // Bodies come from blocks the thread keeps; without them, every body asks operator new.
    zuxpool::ReleaseKeptBlocks();
    t_refused = 0;
    t_allowed[static_cast<int>(which)] = allowed;
    t_refusals[static_cast<int>(which)] = refusals;
}

ScopedAllocationFailure::~ScopedAllocationFailure() {
    t_allowed[static_cast<int>(m_which)] = m_previousAllowed;
    t_refusals[static_cast<int>(m_which)] = m_previousRefusals;
}

long ScopedAllocationFailure::Refused() const {
    return t_refused;
}

} // namespace zuxtest
