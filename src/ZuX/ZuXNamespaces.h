// Not part of the public interface.
//
// Namespaces, as the handles report them and as queries with bound prefixes match them.
//
// pugixml keeps names as written and matches XPath name tests as text, so `//svg:rect` would miss
// a <rect> under a default namespace and match a stranger's svg: prefix. Its XPath functions
// local-name() and namespace-uri() do resolve a name's namespace from the xmlns declarations in
// scope (on the element itself, then its ancestors; an unprefixed attribute has none). A query
// compiled with bound prefixes therefore has every prefixed name test rewritten, before pugixml
// compiles it, into a test on those two functions:
//
//     p:local  ->  *[local-name()='local' and namespace-uri()=$v]
//     p:*      ->  *[namespace-uri()=$v]
//
// where $v is a variable holding the URI bound to p (a URI may hold both quote characters, so it
// cannot be pasted into a literal). The wildcard keeps the axis's principal node type, elements or
// attributes, and the added predicate comes first, so a following [2] still counts among the
// matches only. The local name is compared first: namespace-uri() walks up the ancestors.
//
// pugixml's namespace-uri() resolves the xml: prefix only where a document declares it, which
// documents need not do; since no other prefix may name the XML namespace, a name test bound to it
// becomes the text test `xml:local`. Namespace declarations are not attributes for XPath, nor on
// pugixml's attribute axis.
#ifndef ZUX_ZUXNAMESPACES_H
#define ZUX_ZUXNAMESPACES_H

#include <pugixml.hpp>

#include <cstring>
#include <map>
#include <string>

/// The namespace the prefix xml always stands for.
constexpr const char* kXmlNamespace = "http://www.w3.org/XML/1998/namespace";
/// The namespace of the xmlns declarations themselves.
constexpr const char* kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

/// The local part of a name: what follows its first colon, or the whole name (as local-name()).
inline const char* LocalPart(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

/// The prefix of a name: what precedes its first colon; "" without one.
inline std::string PrefixPart(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? std::string(name, colon) : std::string();
}

/// The namespace URI of an element's or an attribute's name, `name`, resolved from the xmlns
/// declarations in scope from `element` (the element itself, or the attribute's element) up, as
/// pugixml's namespace-uri() resolves it; besides, the prefix xml gives kXmlNamespace, and the
/// prefix xmlns and an attribute named xmlns give kXmlnsNamespace. "" where there is none: an
/// unprefixed attribute, a prefix nothing declares.
const char* NamespaceOf(const char* name, pugi::xml_node element, bool attribute);

/// The name of the variable that holds a bound namespace URI. It is not an XML name (it holds the
/// character U+00D7, which XML names exclude), so no variable of a caller can take it, while
/// pugixml's XPath reads it as a variable name (it takes every byte from 0x80 up in names).
std::string NamespaceVariable(const std::string& uri);

/// Whether `prefix` can be bound: an XML name without a colon, in valid UTF-8, without a NUL.
bool IsNcName(const std::string& prefix);

/// Copies the query `text` into `rewritten`, reading it token by token as pugixml's XPath lexer
/// does, with every prefixed name test (a name that is neither a function, followed by '(', nor an
/// axis, followed by "::") rewritten as above. `prefixes` maps each bound prefix to the variable
/// holding its URI, "" for the XML namespace; xml is bound even when it is not there. False, with
/// the description "Unknown namespace prefix: p" in `error`, for a prefix that is not bound.
bool BindPrefixes(const char* text, const std::map<std::string, std::string>& prefixes, std::string& rewritten,
                  std::string& error);

#endif
