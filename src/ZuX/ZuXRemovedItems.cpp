#include "ZuXRemovedItems.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

namespace {

// Removals of up to this many items (an element with a few attributes and children) go into the
// hash table; larger ones become a sorted batch.
constexpr std::size_t kLargeRemoval = 64;

constexpr std::size_t kSmallestTable = 64;
constexpr std::size_t kKeptTable = 256;

// Fibonacci hashing of the address: items sit at least 8 bytes apart, so the low bits carry
// little, and the multiplication spreads the rest over the bits taken as the slot.
std::size_t Hash(const void* address, std::size_t mask) {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(address));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
}

// Whether the sorted ranges `a` and `b` overlap, so that they may share an address.
bool Overlap(const std::vector<const void*>& a, const std::vector<const void*>& b) {
    const std::less<> before;
    return !a.empty() && !b.empty() && !before(a.back(), b.front()) && !before(b.back(), a.front());
}

} // namespace

bool CZuXRemovedItems::Batch::Holds(const void* address) const noexcept {
    const std::less<> before;
    return !items.empty() && !before(address, items.front()) && !before(items.back(), address) &&
           std::binary_search(items.begin(), items.end(), address, before);
}

void CZuXRemovedItems::Batch::Lose(const void* address) noexcept {
    if (!Holds(address)) return; // mostly out of its range: a comparison or two
    const auto range = std::equal_range(items.begin(), items.end(), address, std::less<>());
    if (range.first == range.second) return;
    if (range.first != items.begin()) {
        std::fill(range.first, range.second, *(range.first - 1));
    } else if (range.second != items.end()) {
        std::fill(range.first, range.second, *range.second);
    } else { // it was the last address left
        items.clear();
        lost = 0;
        return;
    }
    if (++lost * 2 > items.size()) Compact();
}

void CZuXRemovedItems::Batch::Lose(const std::vector<const void*>& sorted) noexcept {
    if (!Overlap(items, sorted)) return;
    if (items.size() > sorted.size()) {
        for (const void* address : sorted) Lose(address);
        return;
    }
    // Both are sorted: one walk along the two.
    const std::size_t size = items.size();
    auto next = sorted.begin();
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](const void* address) {
                                   while (next != sorted.end() && std::less<>()(*next, address)) ++next;
                                   return next != sorted.end() && *next == address;
                               }),
                items.end());
    if (items.size() != size) Compact();
}

void CZuXRemovedItems::Batch::Compact() noexcept {
    items.erase(std::unique(items.begin(), items.end()), items.end());
    lost = 0;
    try {
        items.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        // The memory stays with the batch until it goes.
    }
}

bool CZuXRemovedItems::Commit(std::uint64_t generation, std::uint64_t oldest) noexcept {
    const auto fail = [this] {
        std::vector<const void*>().swap(m_pending);
        return false;
    };
    m_batches.erase(
        std::remove_if(m_batches.begin(), m_batches.end(),
                       [oldest](const Batch& batch) { return batch.generation < oldest || batch.items.empty(); }),
        m_batches.end());
    if (m_pending.size() <= kLargeRemoval) {
        if (!Reserve(m_pending.size(), oldest)) return fail();
        for (const void* item : m_pending) {
            Insert(item, generation);
            for (Batch& batch : m_batches) batch.Lose(item);
        }
        return true;
    }
    const std::less<> before;
    if (!std::is_sorted(m_pending.begin(), m_pending.end(), before))
        std::sort(m_pending.begin(), m_pending.end(), before);
    // Everything that needs memory comes first: once older entries are given up, the new batch
    // must go in.
    try {
        m_batches.reserve(m_batches.size() + 1);
    } catch (const std::bad_alloc&) {
        return fail();
    }
    if (!LoseInTable(m_pending, oldest)) return fail();
    for (Batch& batch : m_batches) batch.Lose(m_pending);
    m_batches.push_back(Batch{generation, std::move(m_pending)});
    m_pending = std::vector<const void*>();
    return true;
}

std::size_t CZuXRemovedItems::SlotOf(const void* address) const noexcept {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = Hash(address, mask);
    while (m_slots[slot].address && m_slots[slot].address != address) slot = (slot + 1) & mask;
    return slot;
}

bool CZuXRemovedItems::Reserve(std::size_t count, std::uint64_t oldest) noexcept {
    return (m_size + count) * 2 <= m_slots.size() || Rebuild(count, oldest, nullptr);
}

bool CZuXRemovedItems::Rebuild(std::size_t count, std::uint64_t oldest, const std::vector<const void*>* lost) noexcept {
    // The entries that no body can need any more, and those recorded again, stay behind.
    const auto keeps = [oldest, lost](const Entry& entry) {
        return entry.address && entry.generation >= oldest &&
               !(lost && std::binary_search(lost->begin(), lost->end(), entry.address, std::less<>()));
    };
    std::size_t kept = 0;
    for (const Entry& entry : m_slots) kept += keeps(entry);
    std::size_t size = kSmallestTable;
    while (size < (kept + count) * 2) size *= 2;

    CZuXRemovedItems rebuilt;
    try {
        rebuilt.m_slots.assign(size, Entry{nullptr, 0});
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (const Entry& entry : m_slots)
        if (keeps(entry)) rebuilt.Insert(entry.address, entry.generation);
    m_slots.swap(rebuilt.m_slots);
    m_size = rebuilt.m_size;
    return true;
}

bool CZuXRemovedItems::LoseInTable(const std::vector<const void*>& sorted, std::uint64_t oldest) noexcept {
    if (m_size == 0) return true;
    // Whichever is less work: looking each address up, or walking the table.
    if (m_slots.size() > sorted.size()) {
        for (const void* address : sorted) Erase(address);
        return true;
    }
    return Rebuild(0, oldest, &sorted);
}

void CZuXRemovedItems::Insert(const void* address, std::uint64_t generation) noexcept {
    Entry& entry = m_slots[SlotOf(address)];
    if (!entry.address) {
        entry.address = address;
        ++m_size;
    }
    entry.generation = generation;
}

void CZuXRemovedItems::Erase(const void* address) noexcept {
    std::size_t hole = SlotOf(address);
    if (!m_slots[hole].address) return;
    // The entries after it in its run move up into the hole, unless that would put one before
    // its own slot, where a lookup starts.
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t next = (hole + 1) & mask; m_slots[next].address; next = (next + 1) & mask) {
        const std::size_t home = Hash(m_slots[next].address, mask);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            m_slots[hole] = m_slots[next];
            hole = next;
        }
    }
    m_slots[hole] = Entry{nullptr, 0};
    --m_size;
}

bool CZuXRemovedItems::RemovedSince(const void* address, std::uint64_t generation) const noexcept {
    if (m_size > 0) {
        const Entry& entry = m_slots[SlotOf(address)];
        if (entry.address && entry.generation >= generation) return true;
    }
    for (auto batch = m_batches.rbegin(); batch != m_batches.rend() && batch->generation >= generation; ++batch)
        if (batch->Holds(address)) return true;
    return false;
}

void CZuXRemovedItems::Clear() noexcept {
    // A small table is kept for the next removal; a large one goes back.
    if (m_slots.size() > kKeptTable)
        std::vector<Entry>().swap(m_slots);
    else if (m_size > 0)
        std::fill(m_slots.begin(), m_slots.end(), Entry{nullptr, 0});
    m_size = 0;
    m_batches.clear();
}

std::size_t CZuXRemovedItems::Size() const noexcept {
    std::size_t size = m_size;
    for (const Batch& batch : m_batches) size += batch.Size();
    return size;
}
