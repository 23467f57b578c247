// Not part of the public interface.
//
// Which names may be stored in a tree, and which texts from a caller are whole C strings.
//
// pugixml stores any text as a name and writes it out as it is, so a name such as
// `a="1" b` becomes markup in a saved file, and `max size` or "" makes a file that no longer
// loads (or loads as something else). The operations that store a name therefore accept only
// XML names. Lookups and removals take any name: they store none, and they still find what a load
// made under a name that no write may store (pugixml reads any byte from 0x80 up as a name
// character).
#ifndef ZUX_ZUXNAME_H
#define ZUX_ZUXNAME_H

#include <string>

/// Whether `name` is an XML 1.0 Name (fifth edition: a NameStartChar, then NameChars) in valid
/// UTF-8. False for a null and for the empty name. ASCII names are checked by table; only
/// non-ASCII bytes are decoded.
bool IsXmlName(const char* name);

/// Whether `text` holds a NUL character, where its C-string form would end early: a path or
/// a name cut there would address another file or item.
inline bool HoldsNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

#endif
