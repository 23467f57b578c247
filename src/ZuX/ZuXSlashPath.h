// Not part of the public interface.
#ifndef ZUX_ZUXSLASHPATH_H
#define ZUX_ZUXSLASHPATH_H

#include <pugixml.hpp>

static_assert(PUGIXML_VERSION == 1130, "FirstElementByPath follows paths as pugixml 1.13's first_element_by_path");

/// `start.first_element_by_path(path, '/')`, safe for paths of any length. pugixml recurses once
/// per path segment and retries a ".." step once for every sibling that led to it, which takes
/// time exponential in the number of ".." steps. Short paths without ".." go to pugixml as they
/// are; others are followed here, with the same result, up to a short tail without ".." that
/// pugixml follows. May throw std::bad_alloc for a long path.
pugi::xml_node FirstElementByPath(const pugi::xml_node& start, const char* path);

#endif
