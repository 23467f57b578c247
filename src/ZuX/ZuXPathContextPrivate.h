// Not part of the public interface.
#ifndef ZUX_ZUXPATHCONTEXTPRIVATE_H
#define ZUX_ZUXPATHCONTEXTPRIVATE_H

#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

#include <map>
#include <string>

static_assert(PUGIXML_VERSION == 1130, "pugixml 1.13 keeps every variable of a set where it is while the set lives");

/// The body of an XPath context. pugixml binds a compiled query to the variable objects of the set
/// it was compiled with and reads their values at each evaluation, so every query compiled here
/// holds this body: the set must outlive the query, and a value set later is read by it. pugixml
/// never moves or deletes a variable once it is in the set.
class CZuXPathContextPrivate {
public:
    ZUX_EXPORT CZuXPathContextPrivate();
    ZUX_EXPORT ~CZuXPathContextPrivate();

    /// The caller's variables, and one variable per bound namespace URI (see NamespaceVariable in
    /// ZuXNamespaces.h), whose value never changes.
    pugi::xpath_variable_set m_variables;
    /// Each bound prefix and the name of the variable holding its URI; "" for the XML namespace,
    /// which is matched by its fixed prefix.
    std::map<std::string, std::string> m_prefixes;
};

#endif
