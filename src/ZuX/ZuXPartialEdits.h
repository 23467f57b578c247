// Not part of the public interface.
//
// Edits that pugixml can complete only in part when it runs out of memory, made whole or undone:
// pugixml reports such an edit as done, or leaves behind what it had made before the allocation
// failed. Callers report the undone edit as out of memory.
#ifndef ZUX_ZUXPARTIALEDITS_H
#define ZUX_ZUXPARTIALEDITS_H

#include <pugixml.hpp>

static_assert(PUGIXML_VERSION == 1130, "what pugixml 1.13 leaves behind of a copy or a text write without memory");

/// `copy` when it is a complete deep copy of `source`, as `append_copy` and the other copy calls
/// made it; no node otherwise. When memory runs out during a copy, pugixml leaves out the names,
/// values, attributes or children it could not allocate and still returns the copy, so a copy
/// that differs from its source is incomplete: it is removed, and the tree is as before the copy.
/// No node (a refused copy) gives no node.
pugi::xml_node CompleteCopyOrNone(const pugi::xml_node& copy, const pugi::xml_node& source);

/// `target.set(text)`. pugixml appends a text child to an element that has none before it stores
/// the text; when storing then fails, that child is removed again, so that a failed write leaves
/// the tree as it was.
bool SetTextOrNothing(pugi::xml_text target, const char* text);

#endif
