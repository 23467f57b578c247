// Compiled XPath queries.
#ifndef ZUX_CZUXPATHQUERY_H
#define ZUX_CZUXPATHQUERY_H

#include <ZuUtils/CZuError.h>
#include <ZuX/CZuXPathContext.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXPathQuery;
class CZuXPathQueryPrivate;

/// @file
/// CZuXPathQuery and the pointer name CZuXPathQueryPtr.

typedef boost::shared_ptr<CZuXPathQuery> CZuXPathQueryPtr; ///< a shared compiled query

/// An XPath 1.0 expression compiled once, to be evaluated as often as needed on any document and
/// any node, by CZuXDocument's and CZuXNode's SelectNodes, SelectNode and EvaluateXPath. Copies
/// share the body; compiling gives the query a new body, so its copies keep their expression.
/// Evaluation only reads the query: copies may be evaluated on different documents on different
/// threads, as long as no thread sets a variable of the context meanwhile.
class ZUX_EXPORT CZuXPathQuery {
public:
    /// A query without an expression, whose every evaluation fails with Win32 774 and
    /// "error=No expression compiled", or one sharing `body` (an empty pointer gives a query of its
    /// own, without an expression).
    ///@{
    CZuXPathQuery();
    CZuXPathQuery(boost::shared_ptr<CZuXPathQueryPrivate> body);
    virtual ~CZuXPathQuery();
    ///@}

    /// Compiles `query`, up to its first NUL character, which pugixml parses once here instead of
    /// at every evaluation. Without a context the query has no variables and prefixed names are
    /// matched as written, as in the forms that take a string. With one, `$name` reads the
    /// context's variable at each evaluation, and prefixes are those the context binds (see
    /// CZuXPathContext::BindNamespace). Numbers in the expression are read the same whatever the
    /// process locale.
    ///
    /// Fails with Win32 774 and "XPath query failed, Query=[query], error=description" when the
    /// expression does not compile: pugixml's description, "Unknown variable: ..." for a variable
    /// the context does not hold, or "Unknown namespace prefix: p" for a prefix it does not bind;
    /// with 14 when memory runs out. On failure the query keeps the expression it had.
    ///@{
    CZuError Compile(const std::string& query);
    CZuError Compile(const std::string& query, const CZuXPathContext& context);
    ///@}

private:
    friend class CZuXDocument;
    friend class CZuXNode;

    boost::shared_ptr<CZuXPathQueryPrivate> m_pPrivate;
};

#endif
