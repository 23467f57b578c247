// Not part of the public interface.
#ifndef ZUX_ZUXNODEPRIVATE_H
#define ZUX_ZUXNODEPRIVATE_H

#include <ZuX/CZuXNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

class CZuXDocumentPrivate;

/// The body of a node handle: the node and the document that holds it.
class CZuXNodePrivate {
public:
    ZUX_EXPORT CZuXNodePrivate();
    ZUX_EXPORT ~CZuXNodePrivate();

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xml_node m_item;                              ///< the node, or none
};

/// The node of a body; no node for a null body.
inline pugi::xml_node NodeOf(const CZuXNodePrivatePtr& body) {
    return body ? body->m_item : pugi::xml_node();
}

#endif
