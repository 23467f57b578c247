// Not part of the public interface.
#ifndef ZUX_ZUXREMOVEDITEMS_H
#define ZUX_ZUXREMOVEDITEMS_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

/// The tree items a document has removed, by address, each with the generation that removed it.
/// A body that found an item in that generation or before must not reach it any more; a body that
/// found an item at the same address later is on a new item.
///
/// Small removals go into an open-addressing hash table. A large one (a subtree) is kept as a
/// sorted batch of its own: pugixml allocates a parsed tree in document order, so the addresses
/// come sorted, or nearly, as the removal walks the subtree, and the removal costs about as much
/// as pugixml's own freeing of it.
///
/// Every address has one entry at most, with the latest generation that removed it, which is all
/// that RemovedSince needs: an address removed again replaces its older entry, in the table or in
/// a batch. So the entries never outnumber the distinct addresses pugixml has handed out, which
/// is the document's peak number of items while pugixml reuses its memory, whatever the removals
/// and however long a body keeps the entries from being dropped. A batch leaves an address it
/// loses to a small removal in place, overwritten by its neighbour so that the batch stays
/// sorted, and is compacted once half of it is such copies: its memory stays within twice its
/// entries.
class CZuXRemovedItems {
public:
    /// Records the items that `forEachItem(visit)` passes to `visit` as removed in `generation`,
    /// dropping the records older than `oldest`, which no body can need any more. False, with
    /// nothing recorded, when the memory cannot be had.
    template <class ForEachItem>
    bool Add(ForEachItem&& forEachItem, std::uint64_t generation, std::uint64_t oldest) noexcept {
        m_pending.clear();
        try {
            forEachItem([this](const void* item) { m_pending.push_back(item); });
        } catch (const std::bad_alloc&) {
            std::vector<const void*>().swap(m_pending);
            return false;
        }
        return Commit(generation, oldest);
    }
    /// Whether `address` was removed in `generation` or later.
    bool RemovedSince(const void* address, std::uint64_t generation) const noexcept;
    /// Forgets every entry; the memory of large tables goes back.
    void Clear() noexcept;
    /// How many addresses are recorded.
    std::size_t Size() const noexcept;
    bool Empty() const noexcept { return m_size == 0 && m_batches.empty(); }

private:
    struct Entry {
        const void* address; // null: a free slot
        std::uint64_t generation;
    };
    struct Batch {
        std::uint64_t generation;
        std::vector<const void*> items; // sorted; a lost address is overwritten by its neighbour
        std::size_t lost = 0;           // addresses overwritten so

        bool Holds(const void* address) const noexcept;
        /// Gives up `address`, recorded again later.
        void Lose(const void* address) noexcept;
        /// Gives up every address of `sorted` (a sorted removal) that the batch holds.
        void Lose(const std::vector<const void*>& sorted) noexcept;
        void Compact() noexcept;
        std::size_t Size() const noexcept { return items.size() - lost; }
    };

    bool Commit(std::uint64_t generation, std::uint64_t oldest) noexcept;
    bool Reserve(std::size_t count, std::uint64_t oldest) noexcept;
    bool Rebuild(std::size_t count, std::uint64_t oldest, const std::vector<const void*>* lost) noexcept;
    bool LoseInTable(const std::vector<const void*>& sorted, std::uint64_t oldest) noexcept;
    void Insert(const void* address, std::uint64_t generation) noexcept;
    void Erase(const void* address) noexcept;
    std::size_t SlotOf(const void* address) const noexcept;

    std::vector<const void*> m_pending; // the items of the removal being recorded
    std::vector<Entry> m_slots;         // a power of two in size, at most half full; empty when unused
    std::size_t m_size = 0;             // entries in use in m_slots
    std::vector<Batch> m_batches;       // oldest first
};

#endif
