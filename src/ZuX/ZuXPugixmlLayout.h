// Not part of the public interface.
//
// pugixml's node and attribute handles read without a call into pugixml, for the checks made on
// every step of a walk and every write: pugixml.hpp declares each handle as one pointer to its item.
#ifndef ZUX_ZUXPUGIXMLLAYOUT_H
#define ZUX_ZUXPUGIXMLLAYOUT_H

#include <pugixml.hpp>

#include <cstring>

static_assert(PUGIXML_VERSION == 1130, "the handle layout read here is pugixml 1.13's: one pointer to the item");

/// The address of the item `item` (a pugi::xml_node or pugi::xml_attribute) is on; null for none.
template <class Item>
const void* ItemAddress(const Item& item) {
    static_assert(sizeof(Item) == sizeof(void*), "a pugixml node or attribute handle is one pointer");
    const void* pointer;
    std::memcpy(&pointer, &item, sizeof pointer);
    return pointer;
}

/// Whether `item` is on no item: `!item`.
template <class Item>
bool IsNone(const Item& item) {
    return ItemAddress(item) == nullptr;
}

/// Whether `a` and `b` are on the same item, or both on none: `a == b`.
template <class Item>
bool SameItem(const Item& a, const Item& b) {
    return ItemAddress(a) == ItemAddress(b);
}

#endif
