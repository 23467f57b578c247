// Not part of the public interface.
#ifndef ZUX_ZUXDOCUMENTPRIVATE_H
#define ZUX_ZUXDOCUMENTPRIVATE_H

#include "ZuXRemovedItems.h"
#include "ZuXResults.h"
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

/// The body of a document: owns the whole tree, and knows which items bodies may still reach.
/// Shared by the document handle and by every body made from the document.
///
/// Every removal and every load starts a new generation. A body remembers the generation in
/// which it last found its item good; while the document is still in it, the item is good, and
/// otherwise the document tells (StillHolds) from the record of removed items. See ZuXBody.h.
class CZuXDocumentPrivate : public boost::enable_shared_from_this<CZuXDocumentPrivate> {
public:
    ZUX_EXPORT CZuXDocumentPrivate();
    ZUX_EXPORT ~CZuXDocumentPrivate();
    CZuXDocumentPrivate(const CZuXDocumentPrivate&) = delete;
    CZuXDocumentPrivate& operator=(const CZuXDocumentPrivate&) = delete;

    /// Success for status_ok; otherwise an error with the status's Win32 code and message.
    static CZuError GetErrorFromParseResult(pugi::xml_parse_result& result);

    /// A body that a removal keeps current itself: its document pointer and generation. A removal
    /// made through a body (the parent it removes from, the removed node's own body) moves it to
    /// the new generation, so that it needs neither the removal's records nor a recheck; the
    /// caller then empties the body of a removed item. A body not in the current generation is
    /// left to be rechecked as any other.
    struct CurrentBody {
        boost::shared_ptr<CZuXDocumentPrivate>* owner;
        std::uint64_t* generation;
    };

    /// Removes `child`, with everything below it, from `parent`: NotFound unless it is a child of
    /// `parent`; OutOfMemory, with nothing removed, when the removal cannot be recorded.
    Removal RemoveChild(const pugi::xml_node& parent, const pugi::xml_node& child,
                        std::initializer_list<CurrentBody> current = {});
    /// Removes the first attribute of that name from `node`, in the same way.
    Removal RemoveAttribute(const pugi::xml_node& node, const char* name, std::initializer_list<CurrentBody> current);
    /// To be called before the tree is loaded again: every body made so far loses its item, and
    /// nothing is known of the input yet.
    void WillLoad() noexcept;

    /// Whether an item that a body found good in `generation` is still in the tree.
    bool StillHolds(const void* item, std::uint64_t generation) const noexcept {
        return generation >= m_loaded && !m_removed.RemovedSince(item, generation);
    }

    /// Whether the document was loaded again after `generation`.
    bool LoadedSince(std::uint64_t generation) const noexcept { return generation < m_loaded; }

    /// The document pointer for bodies the document handle makes: it holds the current
    /// generation. Set while a document handle exists.
    const boost::shared_ptr<CZuXDocumentPrivate>& HandleOwner() const noexcept { return m_pCurrent; }
    /// Points `owner`, a body's document pointer, at the current generation, so that the body no
    /// longer keeps the records of older ones. Leaves it as it is when that needs memory there is
    /// none of; the body then keeps older records a little longer.
    void Adopt(boost::shared_ptr<CZuXDocumentPrivate>& owner) noexcept;
    /// The document handle's constructor and destructor. While the handle exists the document
    /// holds its current generation itself; after, only the bodies do.
    void AttachHandle();
    void DetachHandle() noexcept;

    /// Recorded removed items: for tests of the bound on the record.
    std::size_t RecordedItems() const noexcept { return m_removed.Size(); }

    /// The current generation, which every body access compares with the body's own.
    std::uint64_t m_generation = 1;
    pugi::xml_document m_document;
    /// Where the last load's items stand in its input (see ZuXLoad.h and ZuXSourcePositions.h).
    CZuXSourcePositions m_source;
    /// Whether the last load took bytes as they are under a declared encoding that nothing here
    /// decodes: saves then write that declaration as it stands (see ZuXOutput.h).
    bool m_keepsDeclaredEncoding = false;

private:
    struct Lease;
    struct Generation {
        std::uint64_t number; // no body holding the lease found its item good before this
        boost::weak_ptr<Lease> lease;
    };

    template <class ForEachItem>
    bool Record(ForEachItem&& forEachItem, std::initializer_list<CurrentBody> current);
    void NewGeneration(std::initializer_list<CurrentBody> current, bool currentLeaseFree) noexcept;
    boost::shared_ptr<Lease> NewLease();
    std::uint64_t OldestHeldGeneration(std::initializer_list<CurrentBody> current,
                                       bool& currentLeaseFree) const noexcept;
    long OthersHolding(const boost::weak_ptr<Lease>& lease, std::initializer_list<CurrentBody> current) const noexcept;

    std::uint64_t m_loaded = 1; // the generation the last load started
    CZuXRemovedItems m_removed;
    bool m_hasHandle = false;
    boost::shared_ptr<CZuXDocumentPrivate> m_pCurrent; // on the current lease, while m_hasHandle
    boost::weak_ptr<Lease> m_currentLease;
    std::vector<Generation> m_generations; // the leases that may still be held, oldest first
};

#endif
