// Not part of the public interface.
//
// The pugixml calls that take a name, made safe for a null name: a null name is a name no item
// has, so lookups and additions find or make nothing and removals remove nothing. Additions also
// make nothing for a name that is not an XML name (IsXmlName), and a std::string name holding a
// NUL character matches nothing rather than its part before the NUL. The document and the node
// operations of the same name share these.
//
// Also what a node of each kind can take (attributes, text, children, copies), and the pugixml
// calls that recurse once per tree level or path segment, made safe for deep trees and long
// paths, whose recursion would otherwise overflow the stack.
#ifndef ZUX_ZUXTREE_H
#define ZUX_ZUXTREE_H

#include "ZuXName.h"

#include <pugixml.hpp>

#include <cstring>

#include <string>

inline pugi::xml_node ChildNamed(const pugi::xml_node& parent, const char* name) {
    return name ? parent.child(name) : pugi::xml_node();
}

inline pugi::xml_node AppendChildNamed(pugi::xml_node parent, const char* name) {
    return IsXmlName(name) ? parent.append_child(name) : pugi::xml_node();
}

inline pugi::xml_node PrependChildNamed(pugi::xml_node parent, const char* name) {
    return IsXmlName(name) ? parent.prepend_child(name) : pugi::xml_node();
}

inline pugi::xml_node InsertChildNamedAfter(pugi::xml_node parent, const char* name, const pugi::xml_node& reference) {
    return IsXmlName(name) ? parent.insert_child_after(name, reference) : pugi::xml_node();
}

inline pugi::xml_node InsertChildNamedBefore(pugi::xml_node parent, const char* name, const pugi::xml_node& reference) {
    return IsXmlName(name) ? parent.insert_child_before(name, reference) : pugi::xml_node();
}

inline pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* name) {
    return name ? node.attribute(name) : pugi::xml_attribute();
}

/// A std::string name for the lookups above: null, which no item has, when it holds a NUL.
inline const char* LookupName(const std::string& name) {
    return HoldsNul(name) ? nullptr : name.c_str();
}

/// Whether `item` (a pugi::xml_node or pugi::xml_attribute) is on no item. The same as `!item`,
/// without a call into pugixml, for the checks made on every step of a walk and every write:
/// pugixml's node and attribute handles are one pointer to their item (pugixml.hpp declares them
/// so), null for none.
template <class Item>
bool IsNone(const Item& item) {
    static_assert(sizeof(Item) == sizeof(void*), "a pugixml node or attribute handle is one pointer");
    const void* pointer;
    std::memcpy(&pointer, &item, sizeof pointer);
    return pointer == nullptr;
}

/// Whether `a` and `b` (pugi::xml_node or pugi::xml_attribute) are on the same item, or both on
/// none: `a == b` without a call into pugixml (see IsNone).
template <class Item>
bool SameItem(const Item& a, const Item& b) {
    static_assert(sizeof(Item) == sizeof(void*), "a pugixml node or attribute handle is one pointer");
    return std::memcmp(&a, &b, sizeof(void*)) == 0;
}

// --- node kinds: what a node of each kind can take -----------------------------------------------

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
    return CanTakeChild(parent, source.type()) && (!reference || (*reference && reference->parent() == parent));
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

// --- removal and paths -------------------------------------------------------------------------------

/// How deep a subtree pugixml may free by itself: it frees a removed subtree recursively, one stack
/// frame per level, and up to this depth that needs only some tens of kilobytes of stack, which
/// any thread has (the measured cost is 50 to 100 bytes per level).
constexpr int kShallowSubtree = 1000;

/// Takes the subtree below `top` apart from the bottom up, so that the removal of `top` that
/// follows frees only a shallow one.
void TakeApartSubtree(const pugi::xml_node& top);

/// TakeApartSubtree when the subtree below `top` is deeper than kShallowSubtree; otherwise it
/// changes nothing. Only before `top` is removed: a failed removal must change nothing.
void TakeApartDeepSubtree(const pugi::xml_node& top);

/// Removes `node`, with everything below it, from its parent, safe for subtrees of any depth. Only
/// for a node the library has just made and no body was ever made on: removing anything else must
/// be recorded, so that bodies on it become empty (CZuXDocumentPrivate::RemoveChild).
inline void RemoveNewNode(const pugi::xml_node& node) {
    TakeApartDeepSubtree(node);
    node.parent().remove_child(node);
}

/// `start.first_element_by_path(path, '/')`, safe for paths of any length. pugixml recurses once
/// per path segment and retries a ".." step once for every sibling that led to it, which takes
/// time exponential in the number of ".." steps. Short paths without ".." go to pugixml as they
/// are; others are followed here, with the same result, up to a short tail without ".." that
/// pugixml follows. May throw std::bad_alloc for a long path.
pugi::xml_node FirstElementByPath(const pugi::xml_node& start, const char* path);

/// A name for messages: "(null)" in place of a null name.
inline const char* PrintableName(const char* name) {
    return name ? name : "(null)";
}

#endif
