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

} // namespace

bool CZuXRemovedItems::Commit(std::uint64_t generation, std::uint64_t oldest) noexcept {
    m_batches.erase(std::remove_if(m_batches.begin(), m_batches.end(),
                                   [oldest](const Batch& batch) { return batch.generation < oldest; }),
                    m_batches.end());
    if (m_pending.size() <= kLargeRemoval) {
        if (!Reserve(m_pending.size(), oldest)) return false;
        for (const void* item : m_pending) Insert(item, generation);
        return true;
    }
    const std::less<> before;
    if (!std::is_sorted(m_pending.begin(), m_pending.end(), before))
        std::sort(m_pending.begin(), m_pending.end(), before);
    try {
        m_batches.push_back(Batch{generation, std::move(m_pending)});
    } catch (const std::bad_alloc&) {
        std::vector<const void*>().swap(m_pending);
        return false;
    }
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
    if ((m_size + count) * 2 <= m_slots.size()) return true;

    // Growing: the entries that no body can need any more stay behind.
    std::size_t kept = 0;
    for (const Entry& entry : m_slots)
        if (entry.address && entry.generation >= oldest) ++kept;
    std::size_t size = kSmallestTable;
    while (size < (kept + count) * 2) size *= 2;

    CZuXRemovedItems grown;
    try {
        grown.m_slots.assign(size, Entry{nullptr, 0});
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (const Entry& entry : m_slots)
        if (entry.address && entry.generation >= oldest) grown.Insert(entry.address, entry.generation);
    m_slots.swap(grown.m_slots);
    m_size = grown.m_size;
    return true;
}

void CZuXRemovedItems::Insert(const void* address, std::uint64_t generation) noexcept {
    Entry& entry = m_slots[SlotOf(address)];
    if (!entry.address) {
        entry.address = address;
        ++m_size;
    }
    entry.generation = generation;
}

bool CZuXRemovedItems::RemovedSince(const void* address, std::uint64_t generation) const noexcept {
    if (m_size > 0) {
        const Entry& entry = m_slots[SlotOf(address)];
        if (entry.address && entry.generation >= generation) return true;
    }
    for (auto batch = m_batches.rbegin(); batch != m_batches.rend() && batch->generation >= generation; ++batch)
        if (std::binary_search(batch->items.begin(), batch->items.end(), address, std::less<>())) return true;
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
    for (const Batch& batch : m_batches) size += batch.items.size();
    return size;
}
