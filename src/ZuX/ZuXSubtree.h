// Not part of the public interface.
//
// Walking a subtree, and removing one, without recursion: pugixml follows a subtree recursively,
// one stack frame per level, and a deep enough tree would overflow the stack.
#ifndef ZUX_ZUXSUBTREE_H
#define ZUX_ZUXSUBTREE_H

#include "ZuXPugixmlLayout.h"

#include <pugixml.hpp>

/// The one walk of the library (records of removals, depth checks, checks of copies, taking
/// subtrees apart): through `top` and everything below it, in document order. Node() starts at
/// `top` and is no node once the walk has left it; Depth() is its depth below `top`. Step() passes
/// each node twice: on the way in (Entering()), and out, after everything below it.
class CZuXSubtreeWalk {
public:
    explicit CZuXSubtreeWalk(const pugi::xml_node& top) : m_top(top), m_node(top) {}

    const pugi::xml_node& Node() const { return m_node; }
    int Depth() const { return m_depth; }
    bool Entering() const { return m_entering; }

    /// One step: into the first child of a node entered, or out of it when it has none; from a
    /// node left, into its next sibling, or out of its parent.
    void Step() {
        if (m_entering) {
            const pugi::xml_node child = m_node.first_child();
            m_entering = !IsNone(child);
            if (m_entering) {
                m_node = child;
                ++m_depth;
            }
        } else if (SameItem(m_node, m_top)) {
            m_node = pugi::xml_node();
        } else if (const pugi::xml_node next = m_node.next_sibling(); !IsNone(next)) {
            m_node = next;
            m_entering = true;
        } else {
            m_node = m_node.parent();
            --m_depth;
        }
    }
    /// On to the next node entered: the next node in document order.
    void Next() {
        const pugi::xml_node child = m_node.first_child();
        if (IsNone(child)) return NextPastChildren();
        m_node = child;
        ++m_depth;
    }
    /// On to the next node entered that is not below the current one.
    void NextPastChildren() {
        m_entering = false;
        do Step();
        while (!m_entering && !IsNone(m_node));
    }

private:
    pugi::xml_node m_top;
    pugi::xml_node m_node;
    int m_depth = 0;
    bool m_entering = true;
};

/// How deep a subtree pugixml may free by itself: it frees a removed subtree recursively, one stack
/// frame per level, and up to this depth that needs only some tens of kilobytes of stack, which
/// any thread has (the measured cost is 50 to 100 bytes per level).
constexpr int kShallowSubtree = 1000;
static_assert(PUGIXML_VERSION == 1130, "kShallowSubtree is measured on pugixml 1.13's recursive freeing");

/// Removes everything below `top` from the bottom up, so that the removal of `top` that follows
/// frees no subtree deeper than one level.
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

#endif
