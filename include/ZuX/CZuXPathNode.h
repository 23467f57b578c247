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
    /// An empty item, or one sharing `body` (an empty pointer gives an empty item of its own). The
    /// tree lives on while other handles or bodies hold it.
    ///@{
    CZuXPathNode();
    CZuXPathNode(boost::shared_ptr<CZuXPathNodePrivate> body);
    virtual ~CZuXPathNode();
    ///@}

    /// New bodies: on the item's node (none for an attribute item), on its attribute (none for a
    /// node item), on the element that holds an attribute item or the parent of a node item. An
    /// empty item gives bodies on nothing.
    ///@{
    CZuXNodePrivatePtr NodePrivate();
    boost::shared_ptr<CZuXAttributePrivate> AttributePrivate();
    CZuXNodePrivatePtr ParentPrivate();
    ///@}

private:
    boost::shared_ptr<CZuXPathNodePrivate> m_pPrivate;
};

#endif
