// One item of an XPath result.
#ifndef ZUX_CZUXPATHNODE_H
#define ZUX_CZUXPATHNODE_H

#include <ZuX/CZuXAttribute.h>
#include <ZuX/CZuXNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

class CZuXPathNode;
class CZuXPathNodePrivate;

/// @file
/// CZuXPathNode and the pointer name CZuXPathNodePtr.

typedef boost::shared_ptr<CZuXPathNode> CZuXPathNodePtr; ///< a shared XPath item handle, as Node() gives it

/// One item of an XPath node set: a node, or an attribute of an element. Copies share the body.
/// Threads as for CZuXNode: CZuXPathNodePtr may be copied and released on any thread; making or
/// copying an item, like every call, uses the document.
class ZUX_EXPORT CZuXPathNode {
public:
    /// An empty item, attached to no document.
    CZuXPathNode();
    /// Shares the given body. An empty pointer gives an empty item of its own.
    CZuXPathNode(boost::shared_ptr<CZuXPathNodePrivate> body);
    /// Releases the body; the tree lives on while other handles or bodies hold it.
    virtual ~CZuXPathNode();

    /// A new node body on the item's node; for an attribute item (and an empty item), a body
    /// on no node.
    CZuXNodePrivatePtr NodePrivate();
    /// A new attribute body on the item's attribute; for a node item (and an empty item), a body
    /// on no attribute.
    boost::shared_ptr<CZuXAttributePrivate> AttributePrivate();
    /// A new node body on the element that holds an attribute item, or on the parent of a node
    /// item; no node for an empty item.
    CZuXNodePrivatePtr ParentPrivate();

private:
    boost::shared_ptr<CZuXPathNodePrivate> m_pPrivate;
};

#endif
