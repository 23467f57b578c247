// Makes allocations fail on purpose, to reach the out-of-memory paths.
#ifndef ZUX_TESTS_FAILINGALLOCATOR_H
#define ZUX_TESTS_FAILINGALLOCATOR_H

namespace zuxtest {

enum class Allocator {
    OperatorNew, ///< the global operator new (std::bad_alloc; null from the nothrow forms)
    Pugixml,     ///< pugixml's own allocation function (pugixml reports failure its own way)
};

/// While alive, the chosen allocator succeeds `allowed` more times on this thread and then
/// refuses every request.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(Allocator which = Allocator::OperatorNew, long allowed = 0);
    ~ScopedAllocationFailure();
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;

    /// How many requests were refused so far.
    long Refused() const;

private:
    Allocator m_which;
    long m_previous;
};

} // namespace zuxtest

#endif
