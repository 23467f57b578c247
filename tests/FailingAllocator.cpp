#include "FailingAllocator.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <new>

namespace {

// -1: allocations succeed; otherwise the number of allocations still allowed.
thread_local long t_allowed = -1;
thread_local long t_refused = 0;

bool Refuse() {
    if (t_allowed < 0) return false;
    if (t_allowed == 0) {
        ++t_refused;
        return true;
    }
    --t_allowed;
    return false;
}

void* Allocate(std::size_t size) {
    if (Refuse()) return nullptr;
    return std::malloc(size ? size : 1);
}

void* PugiAllocate(std::size_t size) {
    return Allocate(size);
}

} // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
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

ScopedAllocationFailure::ScopedAllocationFailure(long allowed, bool pugixml)
    : m_previous(t_allowed), m_pugixml(pugixml) {
    t_refused = 0;
    if (m_pugixml) pugi::set_memory_management_functions(PugiAllocate, std::free);
    t_allowed = allowed;
}

ScopedAllocationFailure::~ScopedAllocationFailure() {
    t_allowed = m_previous;
    if (m_pugixml) pugi::set_memory_management_functions(std::malloc, std::free);
}

long ScopedAllocationFailure::Refused() const {
    return t_refused;
}

} // namespace zuxtest
