#include "ZuXPartialEdits.h"

#include "ZuXSubtree.h"

#include <cstring>

namespace {

bool SameText(const char* a, const char* b) {
    // Copies within one document share the parsed strings, so equal pointers are common.
    return a == b || std::strcmp(a, b) == 0;
}

// Kind, name, value and attributes in order; the children are compared by the walk.
bool SameContent(const pugi::xml_node& a, const pugi::xml_node& b) {
    if (a.type() != b.type() || !SameText(a.name(), b.name()) || !SameText(a.value(), b.value())) return false;
    pugi::xml_attribute x = a.first_attribute();
    pugi::xml_attribute y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute())
        if (!SameText(x.name(), y.name()) || !SameText(x.value(), y.value())) return false;
    return !x && !y;
}

// Both subtrees walked side by side. A copy made into the source's own subtree is not part of what
// was copied: pugixml passes over it, and so does the walk of the source.
bool IsCompleteCopy(const pugi::xml_node& copy, const pugi::xml_node& source) {
    CZuXSubtreeWalk c(copy);
    CZuXSubtreeWalk s(source);
    while (!IsNone(c.Node()) && !IsNone(s.Node())) {
        if (c.Depth() != s.Depth() || !SameContent(c.Node(), s.Node())) return false;
        c.Next();
        for (s.Next(); SameItem(s.Node(), copy);) s.NextPastChildren();
    }
    return IsNone(c.Node()) && IsNone(s.Node());
}

} // namespace

pugi::xml_node CompleteCopyOrNone(const pugi::xml_node& copy, const pugi::xml_node& source) {
    if (!copy || IsCompleteCopy(copy, source)) return copy;
    RemoveNewNode(copy);
    return pugi::xml_node();
}

bool SetTextOrNothing(pugi::xml_text target, const char* text) {
    const bool hadText = !target.data().empty();
    if (target.set(text)) return true;
    if (!hadText)
        if (const pugi::xml_node added = target.data()) RemoveNewNode(added);
    return false;
}
