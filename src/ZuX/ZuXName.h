// Not part of the public interface.
//
// Which names may be stored in a tree, which texts from a caller are whole C strings, and the
// pugixml calls that take a name, made safe for a null name (a name no item has): lookups find
// nothing, additions make nothing (nor for a name that is not an XML name), and removals remove
// nothing. The document and the node operations of the same name share them.
//
// pugixml stores any text as a name and writes it out as it is, so a name such as
// `a="1" b` becomes markup in a saved file, and `max size` or "" makes a file that no longer
// loads (or loads as something else). The operations that store a name therefore accept only
// XML names. Lookups and removals take any name: they store none, and they still find what a load
// made under a name that no write may store (pugixml reads any byte from 0x80 up as a name
// character).
#ifndef ZUX_ZUXNAME_H
#define ZUX_ZUXNAME_H

#include <pugixml.hpp>

#include <array>
#include <cstring>
#include <string>

/// The classes of the ASCII characters in names: kNameStart for a NameStartChar, kNameChar for
/// every NameChar; bytes from 0x80 up have none.
constexpr unsigned char kNameStart = 1;
constexpr unsigned char kNameChar = 2;
extern const std::array<unsigned char, 256> kAsciiNameClasses;

/// IsXmlName for a name that holds a byte from 0x80 up: decodes UTF-8.
bool IsXmlNameDecoding(const char* name);

/// Decodes the UTF-8 sequence at `p`, whose lead byte is not ASCII, into `c` and moves `p` past it.
/// False for a sequence that is cut short or longer than the shortest form; a NUL after `p` is no
/// continuation byte, so nothing past it is read. Surrogates and code points beyond U+10FFFF decode.
bool DecodeUtf8(const unsigned char*& p, char32_t& c);

/// Whether `name` is an XML 1.0 Name (fifth edition: a NameStartChar, then NameChars) in valid
/// UTF-8. False for a null and for the empty name. Every addition and attribute write checks its
/// name, so an ASCII name is checked here, inline, by table; only a non-ASCII one is decoded.
inline bool IsXmlName(const char* name) {
    if (!name) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(name);
    if (!(kAsciiNameClasses[*p] & kNameStart)) return *p >= 0x80 && IsXmlNameDecoding(name);
    while (kAsciiNameClasses[*++p] & kNameChar) {
    }
    return *p == 0 || (*p >= 0x80 && IsXmlNameDecoding(name));
}

/// Whether `text` holds a NUL character, where its C-string form would end early: a path or
/// a name cut there would address another file or item.
inline bool HoldsNul(const std::string& text) {
    return std::strlen(text.c_str()) != text.size(); // its C string ends before it does
}

/// A std::string name for the lookups below: null, which no item has, when it holds a NUL.
inline const char* LookupName(const std::string& name) {
    return HoldsNul(name) ? nullptr : name.c_str();
}

/// A name for messages: "(null)" in place of a null name.
inline const char* PrintableName(const char* name) {
    return name ? name : "(null)";
}

inline pugi::xml_node ChildNamed(const pugi::xml_node& parent, const char* name) {
    return name ? parent.child(name) : pugi::xml_node();
}

inline pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* name) {
    return name ? node.attribute(name) : pugi::xml_attribute();
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

#endif
