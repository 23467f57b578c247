// Makes allocations fail on purpose, to reach the out-of-memory paths.
#ifndef ZUX_TESTS_FAILINGALLOCATOR_H
#define ZUX_TESTS_FAILINGALLOCATOR_H

namespace zuxtest {

/// While alive, operator new on this thread succeeds `allowed` more times and then throws
/// std::bad_alloc (the nothrow forms return null), as does pugixml's allocator when
/// `pugixml` is set.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(long allowed = 0, bool pugixml = false);
    ~ScopedAllocationFailure();
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;

    /// How many allocations were refused so far.
    long Refused() const;

private:
    long m_previous;
    bool m_pugixml;
};

} // namespace zuxtest

#endif
