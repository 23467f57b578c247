// Makes allocations fail on purpose, to reach the out-of-memory paths.
#ifndef ZUX_TESTS_FAILINGALLOCATOR_H
#define ZUX_TESTS_FAILINGALLOCATOR_H

namespace zuxtest {

enum class Allocator {
    OperatorNew, ///< the global operator new (std::bad_alloc; null from the nothrow forms)
    Pugixml,     ///< pugixml's own allocation function (pugixml reports failure its own way)
};

/// While alive, the chosen allocator succeeds `allowed` more times on this thread, then refuses
/// `refusals` requests (every further request when negative) and succeeds again after them.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(Allocator which = Allocator::OperatorNew, long allowed = 0, long refusals = -1);
    ~ScopedAllocationFailure();
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;

    /// How many requests were refused so far.
    long Refused() const;

private:
    Allocator m_which;
    long m_previousAllowed;
    long m_previousRefusals;
};

} // namespace zuxtest

#endif
