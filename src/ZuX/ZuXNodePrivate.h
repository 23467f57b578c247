// Not part of the public interface.
#ifndef ZUX_ZUXNODEPRIVATE_H
#define ZUX_ZUXNODEPRIVATE_H

#include "ZuXBody.h"

#include <ZuX/CZuXNode.h>
#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

#include <cstddef>

/// The body of a node handle: the node and the document that holds it (see ZuXBody.h).
class CZuXNodePrivate : public CZuXItemBody<CZuXNodePrivate, pugi::xml_node> {
public:
    ZUX_EXPORT CZuXNodePrivate();
    ZUX_EXPORT ~CZuXNodePrivate();

    [[gnu::noinline]] void Recheck() noexcept; // kept out of Item(), which every access inlines
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

/// Removes `child` from the children of `parent` in `document`. `removed`, when given, is a body on
/// `child`: it becomes empty with the removal. It and `through`, the body the removal is made
/// through when there is one, stay current (CZuXDocumentPrivate::RemoveChild).
Removal RemoveChildNode(CZuXDocumentPrivate& document, const pugi::xml_node& parent, const pugi::xml_node& child,
                        CZuXNodePrivate* through, CZuXNodePrivate* removed);

/// The node of a body; no node for a null body.
inline pugi::xml_node NodeOf(const CZuXNodePrivatePtr& body) {
    return body ? body->Item() : pugi::xml_node();
}

/// The node of the handle a pointer points to; no node for a null pointer.
inline pugi::xml_node NodeOfHandle(const CZuXNodePtr& handle) {
    return handle ? NodeOf(handle->GetPrivate(handle)) : pugi::xml_node();
}

#endif
