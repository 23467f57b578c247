// Not part of the public interface.
//
// How handles and bodies own each other:
//  1. A handle holds exactly one shared pointer to its body, and never a null one.
//  2. Every body but the document's holds a shared pointer to the document body, so the tree
//     lives while the document handle or any body made from it lives.
//  3. The pugixml item inside a body is an uncounted reference into the tree: removing the item
//     or loading the document again leaves it dangling, and nothing can detect that.
//  4. Handles made from one body pointer share the body; moves change the body in place, so
//     they are seen through every such handle. Copies and assignments make a new body.
//  5. Every body handed out for an item is allocated before pugixml is asked for the item, so an
//     allocation failure leaves the tree as it was.
#ifndef ZUX_ZUXBODY_H
#define ZUX_ZUXBODY_H

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <utility>

class CZuXDocumentPrivate;

/// A new body on `document` holding what `item()` returns; `item` runs after the allocation.
template <class Body, class ItemCall>
boost::shared_ptr<Body> DeriveBody(const boost::shared_ptr<CZuXDocumentPrivate>& document, ItemCall&& item) {
    boost::shared_ptr<Body> body = boost::make_shared<Body>();
    body->m_pDocument = document;
    body->m_item = std::forward<ItemCall>(item)();
    return body;
}

/// A new body on the same document and item as `source`.
template <class Body>
boost::shared_ptr<Body> CopyBody(const boost::shared_ptr<Body>& source) {
    return DeriveBody<Body>(source->m_pDocument, [&source] { return source->m_item; });
}

/// `body` itself, or a new detached, empty body in place of a null pointer.
template <class Body>
boost::shared_ptr<Body> BodyOrEmpty(boost::shared_ptr<Body> body) {
    return body ? std::move(body) : boost::make_shared<Body>();
}

#endif
