// Not part of the public interface.
#ifndef ZUX_ZUXNODEPRIVATE_H
#define ZUX_ZUXNODEPRIVATE_H

#include "ZuXDocumentPrivate.h"

#include <ZuX/CZuXNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <cstdint>

/// The body of a node handle: the node and the document that holds it (see ZuXBody.h).
class CZuXNodePrivate {
public:
    ZUX_EXPORT CZuXNodePrivate();
    ZUX_EXPORT ~CZuXNodePrivate();

    /// The node; none once it was removed or its document was loaded again.
    pugi::xml_node& Item() {
        // A detached body has neither document nor item. Nothing here calls into pugixml: this
        // runs on every access.
        const CZuXDocumentPrivate* document = m_pDocument.get();
        if (document && m_generation != document->m_generation) Recheck();
        return m_item;
    }

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xml_node m_item;                              ///< the node, or none; read through Item()
    std::uint64_t m_generation = 0;                     ///< when m_item was last known good

private:
    void Recheck() noexcept;
};

/// The node of a body; no node for a null body.
inline pugi::xml_node NodeOf(const CZuXNodePrivatePtr& body) {
    return body ? body->Item() : pugi::xml_node();
}

/// The node of the handle a pointer points to; no node for a null pointer.
inline pugi::xml_node NodeOfHandle(const CZuXNodePtr& handle) {
    return handle ? NodeOf(handle->GetPrivate(handle)) : pugi::xml_node();
}

#endif
