// Not part of the public interface.
//
// The document body, and the document's part in keeping bodies off freed items (the bodies' part:
// ZuXBody.h, rules 3 and 4):
//  1. Every removal and every load starts a new generation. A body holds the generation in which
//     it last found its item good (CZuXDocumentHold): while the document is still in it, the item
//     is good; otherwise StillHolds tells whether it was removed since, or the document loaded.
//  2. The record (CZuXRemovedItems) keeps, per removed address, the latest generation that removed
//     it: an item made later at that address is good to the bodies that found it there, which are
//     newer, and gone to the older ones.
//  3. Bodies hold the document through a lease: their document pointer shares the lease's count
//     and points at the document (boost's aliasing constructor), at no cost beyond the pointer.
//     m_leases lists the leases that may still be held, oldest first, each with a generation no
//     holder is older than: a body may hold a lease older than its generation, never a newer one.
//  4. At each removal, the oldest lease held by a body other than those the removal is made
//     through (they go past it with the document) bounds what can still be asked: older records
//     are dropped, and with no such body nothing is recorded. A body brought up to date moves to
//     the current lease, so bodies in use hold no old records.
//  5. Counts are read on the thread using the document while bodies may be released on any thread
//     (ZuXBody.h, rule 6): a count may fall during the read but never rise, since a body takes a
//     lease only when it is made, copied or brought up to date, all uses of the document. A count
//     read before the fall keeps records a little longer; a holder gone before the read asks
//     nothing more. So no body that can still ask loses a record it needs.
//  6. While the document handle exists, the document holds the current lease (m_current) and the
//     bodies the handle makes share it; after, only bodies do, and the last one frees the document.
#ifndef ZUX_ZUXDOCUMENTPRIVATE_H
#define ZUX_ZUXDOCUMENTPRIVATE_H

#include "ZuXFailureCodes.h"
#include "ZuXRemovedItems.h"
#include "ZuXSourcePositions.h"

#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <pugixml.hpp>

#include <cstdint>
#include <initializer_list>
#include <vector>

class CZuXDocumentPrivate;

/// Whether two shared or weak pointers share one count: hold the same lease.
template <class A, class B>
bool SameOwner(const A& a, const B& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

/// What a body holds of its document: the document pointer, on a lease, and the generation in
/// which the body last found its item good.
struct CZuXDocumentHold {
    /// Takes the document and the generation of `other`, another body or the document's current
    /// hold. The lease is taken too unless both are on the same one, which spares the counts.
    void ShareHold(const CZuXDocumentHold& other) {
        m_generation = other.m_generation;
        if (!SameOwner(m_pDocument, other.m_pDocument)) m_pDocument = other.m_pDocument;
    }

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    std::uint64_t m_generation = 0;
};

/// The body of a document: owns the whole tree, and knows which items bodies may still reach.
/// Shared by the document handle and by every body made from the document.
class CZuXDocumentPrivate : public boost::enable_shared_from_this<CZuXDocumentPrivate> {
public:
    ZUX_EXPORT CZuXDocumentPrivate();
    ZUX_EXPORT ~CZuXDocumentPrivate();
    CZuXDocumentPrivate(const CZuXDocumentPrivate&) = delete;
    CZuXDocumentPrivate& operator=(const CZuXDocumentPrivate&) = delete;

    /// Success for status_ok; otherwise an error with the status's Win32 code and message.
    static CZuError GetErrorFromParseResult(pugi::xml_parse_result& result);

    /// The current generation, which every body access compares with the body's own.
    std::uint64_t Generation() const noexcept { return m_current.m_generation; }
    /// Whether an item that a body found good in `generation` is still in the tree.
    bool StillHolds(const void* item, std::uint64_t generation) const noexcept {
        return generation >= m_loadedGeneration && !m_removed.RemovedSince(item, generation);
    }
    /// Whether the document was loaded again after `generation`.
    bool LoadedSince(std::uint64_t generation) const noexcept { return generation < m_loadedGeneration; }
    /// The hold of a body that the document handle makes now: the current generation and lease.
    /// Only while a document handle exists.
    const CZuXDocumentHold& CurrentHold() const noexcept { return m_current; }
    /// Moves `hold` to the current generation and lease (3). Leaves it on its lease when a new one
    /// needs memory there is none of; the body then keeps older records a little longer.
    void BringUpToDate(CZuXDocumentHold& hold) noexcept {
        if (m_current.m_pDocument) return hold.ShareHold(m_current);
        hold.m_generation = Generation();
        TakeLeaseWithoutHandle(hold.m_pDocument);
    }

    /// Removes `child`, with everything below it, from `parent`: NotFound unless it is a child of
    /// `parent`; OutOfMemory, with nothing removed, when the removal cannot be recorded. `through`
    /// are the bodies the removal is made through (the parent it removes from, the removed node's
    /// own body; null ones are passed over): when they are current, they stay current through it,
    /// needing neither its records nor a recheck, and the caller empties a body on `child`.
    Removal RemoveChild(const pugi::xml_node& parent, const pugi::xml_node& child,
                        std::initializer_list<CZuXDocumentHold*> through = {});
    /// Removes the first attribute of that name from `node`, in the same way.
    Removal RemoveAttribute(const pugi::xml_node& node, const char* name,
                            std::initializer_list<CZuXDocumentHold*> through);
    /// To be called before the tree is loaded again: every body made so far loses its item, and
    /// nothing is known of the input yet.
    void WillLoad() noexcept;

    /// The document handle's constructor and destructor (6).
    void AttachHandle();
    void DetachHandle() noexcept;

    /// Recorded removed items: for tests of the bound on the record.
    std::size_t RecordedItems() const noexcept { return m_removed.Size(); }

    pugi::xml_document m_document;
    /// Where the last load's items stand in its input (see ZuXLoad.h and ZuXSourcePositions.h).
    CZuXSourcePositions m_source;
    /// Whether the last load took bytes as they are under a declared encoding that nothing here
    /// decodes: saves then write that declaration as it stands (see ZuXOutput.h).
    bool m_keepsDeclaredEncoding = false;

private:
    struct Lease;
    struct HeldLease {
        std::uint64_t oldest; // no body holding the lease found its item good before this generation
        boost::weak_ptr<Lease> lease;
    };

    template <class ForEachItem>
    bool RecordRemoval(ForEachItem&& forEachItem, std::initializer_list<CZuXDocumentHold*> through);
    void NewGeneration(std::initializer_list<CZuXDocumentHold*> through, bool currentLeaseFree) noexcept;
    boost::shared_ptr<Lease> NewLease();
    void TakeLeaseWithoutHandle(boost::shared_ptr<CZuXDocumentPrivate>& owner) noexcept;
    std::uint64_t OldestHeldGeneration(std::initializer_list<CZuXDocumentHold*> through,
                                       bool& currentLeaseFree) const noexcept;
    long OthersHolding(const boost::weak_ptr<Lease>& lease,
                       std::initializer_list<CZuXDocumentHold*> through) const noexcept;

    CZuXDocumentHold m_current{nullptr, 1}; // the lease only while m_hasHandle
    std::uint64_t m_loadedGeneration = 1;   // the generation the last load started
    CZuXRemovedItems m_removed;
    bool m_hasHandle = false;
    boost::weak_ptr<Lease> m_currentLease;
    std::vector<HeldLease> m_leases; // oldest first
};

#endif
