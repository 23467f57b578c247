// One item of an XPath result.
#ifndef ZUX_CZUXPATHNODE_H
#define ZUX_CZUXPATHNODE_H

#include <ZuX/ZuXExport.h>
#include <ZuX/CZuXNode.h>

#include <boost/shared_ptr.hpp>

class CZuXPathNodePrivate;

/// One item of an XPath node set: a node, or an attribute of an element. Copies share the body.
class ZUX_EXPORT CZuXPathNode {
public:
    /// An empty item, attached to no document.
    CZuXPathNode();
    /// Shares the given body. An empty pointer gives an empty item of its own.
    CZuXPathNode(boost::shared_ptr<CZuXPathNodePrivate> body);
    virtual ~CZuXPathNode();

    /// A new node body on the item's node; for an attribute item (and an empty item), a body
    /// on no node.
    CZuXNodePrivatePtr NodePrivate();

private:
    boost::shared_ptr<CZuXPathNodePrivate> m_pPrivate;
};

#endif
