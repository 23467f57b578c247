#include "AllocationCounter.h"

#include <libxml/parser.h>
#include <libxml/xmlmemory.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The benchmarks run on one thread; thread-local counters keep the count exact without the
// cost of atomic operations on every allocation.
thread_local zuxbench::AllocationCounts t_counts;

void* CountedNew(std::size_t size) {
    ++t_counts.cxx;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* PugixmlAllocate(std::size_t size) {
    ++t_counts.pugixml;
    return std::malloc(size);
}

void* Libxml2Malloc(std::size_t size) {
    ++t_counts.libxml2;
    return std::malloc(size);
}

void* Libxml2Realloc(void* p, std::size_t size) {
    ++t_counts.libxml2;
    return std::realloc(p, size);
}

char* Libxml2Strdup(const char* text) {
    ++t_counts.libxml2;
    const std::size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    return copy;
}

} // namespace

zuxbench::AllocationCounts zuxbench::Allocations() {
    return t_counts;
}

void zuxbench::InstallAllocationHooks() {
    pugi::set_memory_management_functions(PugixmlAllocate, std::free);
    xmlMemSetup(std::free, Libxml2Malloc, Libxml2Realloc, Libxml2Strdup);
    xmlInitParser();
}

// The replaced global allocation functions. The aligned forms are left to the standard library:
// none of the measured code uses over-aligned types.
void* operator new(std::size_t size) {
    return CountedNew(size);
}
void* operator new[](std::size_t size) {
    return CountedNew(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++t_counts.cxx;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    ++t_counts.cxx;
    return std::malloc(size ? size : 1);
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
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
