#include "ZuXNodeKinds.h"

namespace {

// Whether `node` or one of its later (or, with `backward`, earlier) siblings is of `type`.
bool AnyOfTypeFrom(pugi::xml_node node, pugi::xml_node_type type, bool backward = false) {
    for (; node; node = backward ? node.previous_sibling() : node.next_sibling())
        if (node.type() == type) return true;
    return false;
}

// Whether a node of `type` may stand below the document node between `previous` and `next`.
bool CanStandAtTopLevel(const pugi::xml_node& document, pugi::xml_node_type type, const pugi::xml_node& previous,
                        const pugi::xml_node& next) {
    if (AnyOfTypeFrom(next, pugi::node_declaration)) return false;
    switch (type) {
    case pugi::node_comment:
    case pugi::node_pi:
        return true;
    case pugi::node_declaration:
        return !previous;
    case pugi::node_doctype:
        return !AnyOfTypeFrom(document.first_child(), pugi::node_doctype) &&
               !AnyOfTypeFrom(previous, pugi::node_element, true);
    default:
        return false;
    }
}

} // namespace

pugi::xml_node InsertChildOfType(pugi::xml_node parent, pugi::xml_node_type type, ChildPlace place,
                                 const pugi::xml_node& reference) {
    const bool placed = place == ChildPlace::Last || place == ChildPlace::First;
    if (!placed && !IsChildOf(reference, parent)) return pugi::xml_node();
    // The neighbours the new node would have.
    pugi::xml_node previous;
    pugi::xml_node next;
    switch (place) {
    case ChildPlace::Last:
        previous = parent.last_child();
        break;
    case ChildPlace::First:
        next = parent.first_child();
        break;
    case ChildPlace::After:
        previous = reference;
        next = reference.next_sibling();
        break;
    case ChildPlace::Before:
        previous = reference.previous_sibling();
        next = reference;
        break;
    }
    const bool element = parent.type() == pugi::node_element;
    const bool inElement =
        type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_comment || type == pugi::node_pi;
    const bool stands =
        element ? inElement : parent.type() == pugi::node_document && CanStandAtTopLevel(parent, type, previous, next);
    if (!stands) return pugi::xml_node();
    return next ? parent.insert_child_before(type, next) : parent.append_child(type);
}
