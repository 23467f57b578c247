// Not part of the public interface.
//
// The pugixml calls that take a name, made safe for a null name: a null name is a name no item
// has, so lookups and additions find or make nothing and removals remove nothing. The document
// and the node operations of the same name share these.
#ifndef ZUX_ZUXTREE_H
#define ZUX_ZUXTREE_H

#include <pugixml.hpp>

inline pugi::xml_node ChildNamed(const pugi::xml_node& parent, const char* name) {
    return name ? parent.child(name) : pugi::xml_node();
}

inline pugi::xml_node AppendChildNamed(pugi::xml_node parent, const char* name) {
    return name ? parent.append_child(name) : pugi::xml_node();
}

inline pugi::xml_node PrependChildNamed(pugi::xml_node parent, const char* name) {
    return name ? parent.prepend_child(name) : pugi::xml_node();
}

inline pugi::xml_node InsertChildNamedAfter(pugi::xml_node parent, const char* name, const pugi::xml_node& reference) {
    return name ? parent.insert_child_after(name, reference) : pugi::xml_node();
}

inline pugi::xml_node InsertChildNamedBefore(pugi::xml_node parent, const char* name,
                                             const pugi::xml_node& reference) {
    return name ? parent.insert_child_before(name, reference) : pugi::xml_node();
}

inline pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* name) {
    return name ? node.attribute(name) : pugi::xml_attribute();
}

/// A name for messages: "(null)" in place of a null name.
inline const char* PrintableName(const char* name) {
    return name ? name : "(null)";
}

#endif
