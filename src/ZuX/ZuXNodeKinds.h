// Not part of the public interface.
//
// What a node of each kind can take (attributes, text, children, copies), as pugixml decides it,
// and where a new node may stand so that a saved document stays loadable.
#ifndef ZUX_ZUXNODEKINDS_H
#define ZUX_ZUXNODEKINDS_H

#include "ZuXPugixmlLayout.h"

#include <pugixml.hpp>

static_assert(PUGIXML_VERSION == 1130, "CanTakeChild is pugixml 1.13's rule for inserting a child");

/// Whether `node` is a child of `parent`: what pugixml's remove_child needs, and its insertions
/// next to a reference. A null parent needs its own test: the document node's parent is null too.
inline bool IsChildOf(const pugi::xml_node& node, const pugi::xml_node& parent) {
    return !IsNone(parent) && !IsNone(node) && SameItem(node.parent(), parent);
}

/// Only elements and the XML declaration take attributes.
inline bool TakesAttributes(const pugi::xml_node& node) {
    return node.type() == pugi::node_element || node.type() == pugi::node_declaration;
}

/// The nodes a text write can go to: elements, text and CDATA; not comments, declarations or the
/// document node (see WritableText).
inline bool CanHoldText(const pugi::xml_node& node) {
    const pugi::xml_node_type kind = node.type();
    return kind == pugi::node_element || kind == pugi::node_pcdata || kind == pugi::node_cdata;
}

/// The text a write goes to; none on the document node. pugixml would store it in a text child of
/// the document node, which a save writes after the root element and a load drops again.
inline pugi::xml_text WritableText(const pugi::xml_node& node) {
    return node.type() == pugi::node_document ? pugi::xml_text() : node.text();
}

/// Whether pugixml lets a node of kind `child` be inserted below `parent`.
inline bool CanTakeChild(const pugi::xml_node& parent, pugi::xml_node_type child) {
    const pugi::xml_node_type kind = parent.type();
    if (kind != pugi::node_document && kind != pugi::node_element) return false;
    if (child == pugi::node_document || child == pugi::node_null) return false;
    return kind == pugi::node_document || (child != pugi::node_declaration && child != pugi::node_doctype);
}

/// Whether a copy of `source` may go below `parent`, next to `reference` when one is required.
inline bool CanTakeCopy(const pugi::xml_node& parent, const pugi::xml_node& source, const pugi::xml_node* reference) {
    return CanTakeChild(parent, source.type()) && (!reference || IsChildOf(*reference, parent));
}

/// Where a new child or a copy goes among the children of its parent: last, first, or right after
/// or before a reference child.
enum class ChildPlace { Last, First, After, Before };

/// A new, empty node of `type` at `place` below `parent` (next to `reference` for After and
/// Before), or no node when pugixml runs out of memory or the node cannot stand there:
///  - below an element: text, CDATA, comments and processing instructions;
///  - below the document node: comments, processing instructions, the declaration and the
///    document type; text is dropped there by a load and stands outside the document's element.
///    A declaration only first and when the document has none; a document type only when it has
///    none, and before every element; nothing before a declaration.
/// Elements are not made here (they need a name), nor document nodes.
pugi::xml_node InsertChildOfType(pugi::xml_node parent, pugi::xml_node_type type, ChildPlace place,
                                 const pugi::xml_node& reference);

#endif
