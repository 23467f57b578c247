// Not part of the public interface.
#ifndef ZUX_ZUXNODEPRIVATE_H
#define ZUX_ZUXNODEPRIVATE_H

#include "ZuXDocumentPrivate.h"

#include <ZuX/CZuXNode.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <cstddef>
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

/// pugixml's node type of each NodeKind, in the enumeration's order: the kinds the creating
/// operations take, and Kind() looking a type up.
constexpr pugi::xml_node_type kNodeTypes[] = {
    pugi::node_null,    pugi::node_document,    pugi::node_element, pugi::node_pcdata,  pugi::node_cdata,
    pugi::node_comment, pugi::node_declaration, pugi::node_pi,      pugi::node_doctype,
};
static_assert(sizeof kNodeTypes / sizeof *kNodeTypes == static_cast<std::size_t>(CZuXNode::NodeKind::DocType) + 1,
              "one node type for each kind");

/// The node type of `kind`; node_null for a value outside the enumeration.
inline pugi::xml_node_type NodeTypeOf(CZuXNode::NodeKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < sizeof kNodeTypes / sizeof *kNodeTypes ? kNodeTypes[index] : pugi::node_null;
}

/// The node of a body; no node for a null body.
inline pugi::xml_node NodeOf(const CZuXNodePrivatePtr& body) {
    return body ? body->Item() : pugi::xml_node();
}

/// The node of the handle a pointer points to; no node for a null pointer.
inline pugi::xml_node NodeOfHandle(const CZuXNodePtr& handle) {
    return handle ? NodeOf(handle->GetPrivate(handle)) : pugi::xml_node();
}

#endif
