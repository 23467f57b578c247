// What XPath queries are compiled against: variables and namespace prefixes.
#ifndef ZUX_CZUXPATHCONTEXT_H
#define ZUX_CZUXPATHCONTEXT_H

#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <type_traits>

class CZuXPathContext;
class CZuXPathContextPrivate;

/// @file
/// CZuXPathContext and the pointer name CZuXPathContextPtr.

typedef boost::shared_ptr<CZuXPathContext> CZuXPathContextPtr; ///< a shared XPath context

/// The variables and namespace prefixes a CZuXPathQuery is compiled against. Copies share the
/// body, and so does every query compiled against it, so the values set later are the ones its
/// evaluations read. Queries may be compiled against one context and evaluated on several threads
/// at once, but no thread may set a variable or bind a prefix meanwhile.
///
/// A call whose argument is refused fails with Win32 13 and a message naming the argument and the
/// reason ("XPath variable refused, Variable=[name], error=..." or "XPath namespace refused,
/// Prefix=[prefix], Uri=[uri], error=..."); when memory runs out, with 14. The context is then
/// unchanged.
class ZUX_EXPORT CZuXPathContext {
public:
    /// A context without variables or namespace prefixes, or one sharing `body` (an empty pointer
    /// gives a context of its own). The queries compiled against it keep the body.
    ///@{
    CZuXPathContext();
    CZuXPathContext(boost::shared_ptr<CZuXPathContextPrivate> body);
    virtual ~CZuXPathContext();
    ///@}

    /// `$name` in a query compiled against this context reads the value, as it is when the query
    /// is evaluated: the value is never part of the query's text, so no value changes what the
    /// query selects beyond being compared. The name must be an XML name; it is matched as
    /// written (a prefix in it is part of the name). A variable keeps the type of its first value
    /// (string, number or boolean): a value of another type is refused, because queries compiled
    /// against it were typed by it. A string holding a NUL character, which no text of a document
    /// can hold, and a null `const char*` are refused. An integer is stored as a number (a
    /// double), as XPath holds every number.
    ///@{
    CZuError SetVariable(const std::string& name, const std::string& value);
    CZuError SetVariable(const std::string& name, const char* value);
    CZuError SetVariable(const std::string& name, double value);
    CZuError SetVariable(const std::string& name, bool value);
    template <class Integer,
              class = std::enable_if_t<std::is_integral<Integer>::value && !std::is_same<Integer, bool>::value &&
                                       !std::is_same<Integer, char>::value>>
    CZuError SetVariable(const std::string& name, Integer value) {
        return SetVariable(name, static_cast<double>(value));
    }
    ///@}

    /// Binds `prefix` to the namespace `uri` for the queries compiled against this context later:
    /// in them, `prefix:local` selects the elements (on the attribute axis, the attributes) whose
    /// namespace is `uri` and whose local name is `local`, whatever prefix the document itself uses
    /// for it, the default namespace included; `prefix:*` selects every element (attribute) of
    /// that namespace. A document's namespaces are resolved from the `xmlns` declarations in scope.
    /// Once any prefix is bound, a query that uses a prefix not bound here fails to compile; names
    /// without a prefix keep their meaning, the name as written. `xml` is always bound to the XML
    /// namespace. Binding a prefix again replaces its URI for later compilations only.
    ///
    /// Refused: a prefix that is not an XML name without a colon, `xmlns`, `xml` with any other
    /// URI, an empty URI, a URI holding a NUL character, and the namespace of the `xmlns`
    /// declarations, which XPath does not count as attributes.
    CZuError BindNamespace(const std::string& prefix, const std::string& uri);

private:
    friend class CZuXPathQuery;

    boost::shared_ptr<CZuXPathContextPrivate> m_pPrivate;
};

#endif
