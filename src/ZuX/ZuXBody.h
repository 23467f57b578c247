// Not part of the public interface.
//
// How handles and bodies own each other, and why no body reaches freed memory:
//  1. A handle holds exactly one shared pointer to its body, and never a null one.
//  2. Every body but the document's holds a shared pointer to the document body, so the tree
//     lives while the document handle or any body made from it lives.
//  3. The pugixml item inside a body is an uncounted reference into the tree, which a removal or
//     a load frees. So every removal and every load starts a new generation of the document, and
//     the document records each removed item: its address, and the generation that removed it.
//     (A removed subtree records its nodes; a body on an attribute checks its element as well.)
//     A body keeps the generation in which it last found its item good, and every access to the
//     item (Item()) compares it with the document's. While they are equal the item is good: that
//     one comparison is all a walk pays. Otherwise the body asks the document, loses its item
//     when it was removed or the document was loaded since, and takes the current generation.
//     An item made later at a freed address has no record as new as a body that found it there,
//     so a body on the freed item never comes back to life and a body on the new one works.
//     The bodies a removal is made through (the parent it removes from, the removed node's own
//     body) it moves to the new generation itself, emptying the removed one: a handle that
//     removes children one by one neither rechecks nor needs the records.
//  4. Records are kept while a body could need them, and no longer: the bodies of one generation
//     share a lease, whose count tells the document which records still serve a body
//     (ZuXDocumentPrivate.h). A body brought up to date (3) moves to the current lease, so bodies
//     in use never hold old records. Each address has one record, so however long an idle body
//     keeps them, they never outnumber the distinct addresses pugixml handed out.
//  5. Handles made from one body pointer share the body; moves change the body in place, so they
//     are seen through every such handle. Copies and assignments make a new body on the same
//     item and generation as the source.
//  6. Bringing a body up to date writes to it, and so does a move: like the tree, a body is used
//     by one thread at a time. Making, copying or assigning a handle reads its body, so it is a
//     use too; copying and releasing pointers to it stay free on any thread: only counts change.
//     Copies safe on any thread would need every write to a body (moves too) under a lock, and
//     the copy's hold on its lease ordered with removals, which drop records by the holds they
//     see. A lock on moves and rechecks alone cost the walks 0-4% and the sibling moves 0-19%
//     against raw pugixml (bench, side by side), so the rule stays.
//  7. Every body handed out for an item is allocated before pugixml is asked for the item, so an
//     allocation failure leaves the tree as it was. Bodies come from per-thread lists of freed
//     blocks (ZuXBodyPool.h), which bodies released on any thread go back to.
//
// Why not a registry of the live bodies, which a removal would walk to empty the bodies on
// removed items: bodies may be released on any thread, so the registry would need a lock taken
// for every body made and released, and that costs more than the walk can spare (measured in
// bench/RESULTS.md).
#ifndef ZUX_ZUXBODY_H
#define ZUX_ZUXBODY_H

#include "ZuXBodyPool.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXPugixmlLayout.h"

#include <boost/shared_ptr.hpp>

#include <initializer_list>
#include <utility>

/// What the bodies on a tree item share: the hold on the document and the item. `Body` (the
/// derived class) declares Recheck(), which brings the body up to date through RecheckAddresses.
template <class Body, class ItemType>
class CZuXItemBody : public CZuXDocumentHold {
public:
    /// The item; none once it was removed or its document was loaded again (rule 3).
    ItemType& Item() {
        // A detached body has neither document nor item. Nothing here calls into pugixml: this
        // runs on every access.
        const CZuXDocumentPrivate* document = m_pDocument.get();
        if (document && m_generation != document->Generation()) static_cast<Body*>(this)->Recheck();
        return m_item;
    }
    /// Puts the body on `item`, read through `from` (another body, or the document's current
    /// hold), with the hold of `from`: every move of a body onto another item goes through here.
    void MoveTo(const ItemType& item, const CZuXDocumentHold& from) {
        m_item = item;
        ShareHold(from);
    }

    ItemType m_item; ///< the item, or none; read through Item()

protected:
    /// Brings the body up to date: empty when one of `addresses` (its item's, and those of the
    /// items it depends on) was removed since it last looked, or the document was loaded since.
    void RecheckAddresses(std::initializer_list<const void*> addresses) noexcept {
        CZuXDocumentPrivate& document = *m_pDocument;
        for (const void* address : addresses)
            if (address && !document.StillHolds(address, m_generation)) m_item = ItemType();
        document.BringUpToDate(*this);
    }
};

/// A new body on what `item()` returns, read through `source` (a body, or the document's current
/// hold), with the hold `source` has after `item()` ran: `item` reads the source's item through
/// Item(), which brings the source up to date first. `item` runs after the allocation (rule 7).
template <class Body, class ItemCall>
boost::shared_ptr<Body> DeriveBody(const CZuXDocumentHold& source, ItemCall&& item) {
    boost::shared_ptr<Body> body = zuxpool::New<Body>();
    body->MoveTo(std::forward<ItemCall>(item)(), source);
    return body;
}

/// A new body on what `item()` returns, made by the document handle.
template <class Body, class ItemCall>
boost::shared_ptr<Body> DocumentBody(const CZuXDocumentPrivate& document, ItemCall&& item) {
    return DeriveBody<Body>(document.CurrentHold(), std::forward<ItemCall>(item));
}

/// A new body on the same document, item and generation as `source`. Reads the source only.
template <class Body>
boost::shared_ptr<Body> CopyBody(const boost::shared_ptr<Body>& source) {
    return zuxpool::New<Body>(*source);
}

/// `body` itself, or a new detached, empty body in place of a null pointer.
template <class Body>
boost::shared_ptr<Body> BodyOrEmpty(boost::shared_ptr<Body> body) {
    return body ? std::move(body) : zuxpool::New<Body>();
}

/// The body of the handle that `handle` points to, read with its member `body`, or a new detached,
/// empty body for a null pointer: the GetPrivate forms that take a handle pointer.
template <class Body, class Handle>
boost::shared_ptr<Body> BodyOfHandle(const boost::shared_ptr<Handle>& handle,
                                     boost::shared_ptr<Body> (Handle::*body)()) {
    return handle ? ((*handle).*body)() : zuxpool::New<Body>();
}

#endif
