// Node handles: one node of a document's tree.
#ifndef ZUX_CZUXNODE_H
#define ZUX_CZUXNODE_H

#include <ZuX/ZuXExport.h>
#include <ZuUtils/CZuError.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXNode;
class CZuXNodePrivate;
class CZuXAttributePrivate;
class CZuXDocument;

typedef boost::shared_ptr<CZuXNode> CZuXNodePtr;
typedef boost::shared_ptr<CZuXNodePrivate> CZuXNodePrivatePtr;

/// A handle on one node of a document (or on no node: an empty handle).
///
/// The handle holds a shared pointer to a body, and the body holds the node together with a
/// reference to its document, so the tree stays alive as long as any handle on it exists.
/// Handles built from one body pointer share it and move together; a copy made by the copy
/// constructor or by assignment gets a body of its own and moves alone. A handle on a node that
/// was removed, or on a document that was loaded again, must not be used any more: nothing
/// detects that.
class ZUX_EXPORT CZuXNode {
public:
    /// An empty handle, attached to no document.
    CZuXNode();
    /// Shares the given body. An empty pointer gives an empty handle of its own.
    CZuXNode(CZuXNodePrivatePtr body);
    /// A new body on the same document and node as `other`.
    CZuXNode(CZuXNode& other);
    CZuXNode(const CZuXNode& other);
    /// Replaces this handle's body by a new one on the same document and node as `other`.
    CZuXNode& operator=(CZuXNode& other);
    CZuXNode& operator=(const CZuXNode& other);
    virtual ~CZuXNode();

    /// The body of the handle `node` points to (not a copy of it). The object called on is not
    /// used. A null `node` gives a new empty body, never a null pointer.
    CZuXNodePrivatePtr GetPrivate(CZuXNodePtr node);

private:
    friend class CZuXDocument;

    // The handle's own body pointer; for the library's operations only.
    ZUX_NO_EXPORT CZuXNodePrivatePtr GetPrivate();

    CZuXNodePrivatePtr m_pPrivate;
};

#endif
