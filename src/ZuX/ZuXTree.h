// Not part of the public interface.
//
// The pugixml calls that take a name, made safe for a null name: a null name is a name no item
// has, so lookups and additions find or make nothing and removals remove nothing. Additions also
// make nothing for a name that is not an XML name (IsXmlName), and a std::string name holding a
// NUL character matches nothing rather than its part before the NUL. The document and the node
// operations of the same name share these.
//
// Also the pugixml calls that recurse once per tree level or path segment, made safe for deep
// trees and long paths, whose recursion would otherwise overflow the stack.
#ifndef ZUX_ZUXTREE_H
#define ZUX_ZUXTREE_H

#include "ZuXName.h"

#include <pugixml.hpp>

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

/// How deep a subtree pugixml may free by itself: it frees a removed subtree recursively, one stack
/// frame per level, and up to this depth that needs only some tens of kilobytes of stack, which
/// any thread has (the measured cost is 50 to 100 bytes per level).
constexpr int kShallowSubtree = 1000;

/// Takes the subtree below `top` apart from the bottom up, so that the removal of `top` that
/// follows frees only a shallow one.
void TakeApartSubtree(const pugi::xml_node& top);

/// TakeApartSubtree when `child` is a child of `parent` and its subtree is deeper than
/// kShallowSubtree. Otherwise it changes nothing.
void TakeApartDeepSubtree(const pugi::xml_node& parent, const pugi::xml_node& child);

/// Removes `node`, with everything below it, from its parent, safe for subtrees of any depth. Only
/// for a node the library has just made and no body was ever made on: removing anything else must
/// be recorded, so that bodies on it become empty (CZuXDocumentPrivate::RemoveChild).
inline void RemoveNewNode(const pugi::xml_node& node) {
    pugi::xml_node parent = node.parent();
    TakeApartDeepSubtree(parent, node);
    parent.remove_child(node);
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
