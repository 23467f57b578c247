#include "ZuXUndo.h"

#include "ZuXTree.h"

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

// The node after `node` and everything below it, in document order within `top`'s subtree; no
// node at the end. `depth` follows the step.
pugi::xml_node StepOver(pugi::xml_node node, const pugi::xml_node& top, int& depth) {
    for (; node != top; node = node.parent(), --depth)
        if (const pugi::xml_node next = node.next_sibling()) return next;
    return pugi::xml_node();
}

// The node after `node` in document order within `top`'s subtree, passing over `skip` and
// everything below it.
pugi::xml_node Next(const pugi::xml_node& node, const pugi::xml_node& top, const pugi::xml_node& skip, int& depth) {
    pugi::xml_node next = node.first_child();
    if (next)
        ++depth;
    else
        next = StepOver(node, top, depth);
    while (next && next == skip) next = StepOver(next, top, depth);
    return next;
}

// Both subtrees walked side by side, without recursion: deep trees must not overflow the stack.
// A copy made into the source's own subtree is not part of what was copied: pugixml passes over
// it, and so does the walk of the source.
bool IsCompleteCopy(const pugi::xml_node& copy, const pugi::xml_node& source) {
    int copyDepth = 0;
    int sourceDepth = 0;
    pugi::xml_node c = copy;
    pugi::xml_node s = source;
    while (c && s) {
        if (copyDepth != sourceDepth || !SameContent(c, s)) return false;
        c = Next(c, copy, pugi::xml_node(), copyDepth);
        s = Next(s, source, copy, sourceDepth);
    }
    return !c && !s;
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
