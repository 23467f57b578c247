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
//     removes children one by one neither rechecks nor needs the records (CurrentBody).
//  4. Records are kept while a body could need them, and no longer. The bodies of one generation
//     share a lease: their document pointer counts on it (boost's aliasing constructor), so it
//     costs nothing more than the document pointer did. At each removal the document drops the
//     records older than the oldest lease held by a body other than those the removal is made
//     through (with none, it records nothing), and a body brought up to date (3) moves to the
//     current lease, so bodies in use never hold old records. Each address has one record: an
//     address removed again replaces its older record, so however long an idle body keeps them,
//     the records never outnumber the distinct addresses pugixml handed out (ZuXRemovedItems.h).
//     See ZuXDocumentPrivate.cpp.
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

#include <boost/shared_ptr.hpp>

#include <initializer_list>
#include <utility>

/// Puts `body` on the document and in the generation of `source`, another body.
template <class Body, class Source>
void AttachLike(Body& body, const Source& source) {
    body.m_pDocument = source.m_pDocument;
    body.m_generation = source.m_generation;
}

/// Puts `body` on `item`, which was read through `from`, another body of the same kind: on the
/// document and in the generation of `from`. The walks of Children() and Attributes() step with it.
template <class Body, class Item>
void MoveBodyTo(Body& body, const Body& from, const Item& item) {
    body.m_item = item;
    body.m_generation = from.m_generation;
    if (body.m_pDocument != from.m_pDocument) body.m_pDocument = from.m_pDocument;
}

/// A new body on what `item()` returns, on the document and in the generation of `source` as they
/// are after `item()` ran: `item` reads the source's item through Item(), which brings the source
/// up to date first. `item` runs after the allocation.
template <class Body, class Source, class ItemCall>
boost::shared_ptr<Body> DeriveBody(Source& source, ItemCall&& item) {
    boost::shared_ptr<Body> body = zuxpool::New<Body>();
    body->m_item = std::forward<ItemCall>(item)();
    AttachLike(*body, source);
    return body;
}

/// Puts a body made by the document handle on the document, in the current generation.
template <class Body>
void AttachToDocument(Body& body, const CZuXDocumentPrivate& document) {
    body.m_pDocument = document.HandleOwner();
    body.m_generation = document.m_generation;
}

/// A new body on what `item()` returns, made by the document handle. `item` runs after the
/// allocation.
template <class Body, class ItemCall>
boost::shared_ptr<Body> DocumentBody(const CZuXDocumentPrivate& document, ItemCall&& item) {
    boost::shared_ptr<Body> body = zuxpool::New<Body>();
    body->m_item = std::forward<ItemCall>(item)();
    AttachToDocument(*body, document);
    return body;
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

/// `body` for a removal made through it, which keeps it current (CZuXDocumentPrivate::CurrentBody).
template <class Body>
CZuXDocumentPrivate::CurrentBody CurrentBodyOf(Body& body) {
    return {&body.m_pDocument, &body.m_generation};
}

/// Brings an attached body whose generation is not the document's up to date (rule 3). `items`
/// are the addresses its item depends on: the item itself and, for an attribute, its element
/// (removing a subtree records its nodes only).
template <class Body>
void RecheckBody(Body& body, std::initializer_list<const void*> items) noexcept {
    CZuXDocumentPrivate& document = *body.m_pDocument;
    for (const void* item : items)
        if (item && !document.StillHolds(item, body.m_generation)) body.m_item = decltype(body.m_item)();
    body.m_generation = document.m_generation;
    document.Adopt(body.m_pDocument);
}

#endif
