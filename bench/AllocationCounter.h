// Counts heap allocations made by the benchmark process, per allocator.
#ifndef ZUX_BENCH_ALLOCATIONCOUNTER_H
#define ZUX_BENCH_ALLOCATIONCOUNTER_H

namespace zuxbench {

/// Allocation requests made on this thread since the start, by the allocator that served them.
/// Frees are not counted. The counts are taken where every library's allocations pass:
///  - `cxx`: the global operator new in all its forms (ZuX's bodies and strings, Boost's
///    shared-pointer blocks, tinyxml2's pools and buffers, std::string);
///  - `pugixml`: pugixml's allocation function (its memory pages and parse buffers);
///  - `libxml2`: libxml2's malloc, realloc and strdup hooks.
struct AllocationCounts {
    unsigned long long cxx = 0;
    unsigned long long pugixml = 0;
    unsigned long long libxml2 = 0;

    unsigned long long Total() const { return cxx + pugixml + libxml2; }
};

AllocationCounts Allocations();

/// Routes pugixml's and libxml2's allocations through the counters. Must run before either
/// library allocates anything.
void InstallAllocationHooks();

} // namespace zuxbench

#endif
