// Not part of the public interface.
//
// Every XPath compilation and evaluation of the library runs through EvaluateXPathSafely, so that
// each one reads and writes numbers under the C locale and reports pugixml's refusals (774) and
// lack of memory (14) the same way; the forms below give each operation's result its shape.
#ifndef ZUX_ZUXPATHEVALUATION_H
#define ZUX_ZUXPATHEVALUATION_H

#include "MakeSharedNothrow.h"
#include "ZuXLocaleScope.h"
#include "ZuXPathNodePrivate.h"
#include "ZuXPathNodeSetPrivate.h"
#include "ZuXPathQueryPrivate.h"

#include <ZuUtils/CZuError.h>
#include <ZuX/CZuXPathNode.h>
#include <ZuX/CZuXPathNodeSet.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <new>
#include <string>
#include <type_traits>
#include <utility>

/// Throws what pugixml throws for an expression it refuses, with the description `error`, which
/// must outlive the exception.
[[noreturn]] inline void RefuseXPath(const char* error) {
    pugi::xpath_parse_result refused;
    refused.error = error;
    throw pugi::xpath_exception(refused);
}

/// Runs `evaluate()`, an XPath compilation or evaluation by pugixml, under the C locale, so that
/// numbers in the expression and in the values it compares or formats are converted the same
/// whatever locale the process runs under, and reports what pugixml throws: 774 with
/// "`failure`, Query=[%s], error=%s" when it refuses the expression, 14 when memory runs out.
template <class Evaluate>
CZuError EvaluateXPathSafely(const std::string& query, const char* failure, const WNCodeLocation& location,
                             Evaluate&& evaluate) {
    try {
        const CLocaleScope c;
        evaluate();
    } catch (const pugi::xpath_exception& refused) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::ErrorsEncountered, "%s, Query=[%s], error=%s", failure,
                                       query.c_str(), refused.what());
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
    return CZuError::Success();
}

/// What an evaluation evaluates: a text compiled for it alone, without variables (the forms that
/// take a string, as pugixml's select_nodes compiles it), or a compiled query.
class XPathSource {
public:
    explicit XPathSource(const std::string& text) : m_text(text) {}
    explicit XPathSource(const CZuXPathQueryPrivate& query) : m_text(query.m_text), m_pQuery(&query) {}

    /// The expression as the caller wrote it, for messages.
    const std::string& Text() const { return m_text; }

    /// Evaluates the expression with `use(const pugi::xpath_query&)` through EvaluateXPathSafely; a query
    /// that holds no expression is refused as "No expression compiled".
    template <class Use>
    CZuError Evaluate(const char* failure, const WNCodeLocation& location, Use&& use) const {
        return EvaluateXPathSafely(m_text, failure, location, [&] {
            if (!m_pQuery)
                use(pugi::xpath_query(m_text.c_str(), nullptr));
            else if (m_pQuery->m_compiled)
                use(m_pQuery->m_compiled);
            else
                RefuseXPath("No expression compiled");
        });
    }

private:
    const std::string& m_text;
    const CZuXPathQueryPrivate* m_pQuery = nullptr;
};

/// Selects what `source` gives into a new handle in `result`, a CZuXPathNodeSetPtr (every item,
/// evaluate_node_set) or a CZuXPathNodePtr (the first item in document order, evaluate_node): the
/// document's and the node's SelectNodes and SelectNode share it. `context(body)` runs after the
/// result's body is allocated: it puts the body on a document and generation and returns the
/// context node. `result` is reset first and stays null on failure: 774 with
/// "XPath query failed, Query=[%s], error=%s" when the expression does not compile or does not
/// give a node set, 14 when memory runs out (for the body, the handle, or in pugixml's
/// evaluation), and for a single item 1168 with "XPath query selected nothing, Query=[%s]" when
/// there is none.
template <class Handle, class Context>
CZuError SelectInto(boost::shared_ptr<Handle>& result, const XPathSource& source, const WNCodeLocation& location,
                    Context&& context) {
    constexpr bool kSet = std::is_same<Handle, CZuXPathNodeSet>::value;
    using Body = std::conditional_t<kSet, CZuXPathNodeSetPrivate, CZuXPathNodePrivate>;
    result.reset();
    boost::shared_ptr<Body> body = boost::make_shared_nothrow<Body>();
    if (!body) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    const pugi::xml_node from = context(*body);
    CZuError selected = source.Evaluate("XPath query failed", location, [&](const pugi::xpath_query& query) {
        if constexpr (kSet)
            body->m_items = query.evaluate_node_set(from);
        else
            body->m_item = query.evaluate_node(from);
    });
    if (selected.IsError()) return selected;
    if constexpr (!kSet)
        if (!body->m_item)
            return WNErrorUtil::ErrorWin32(location, ZuWin32::NotFound, "XPath query selected nothing, Query=[%s]",
                                           source.Text().c_str());
    result = boost::make_shared_nothrow<Handle>(body);
    if (!result) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    return selected;
}

/// The value of a compiled expression as XPath's number(), boolean() or string() gives it.
inline void EvaluateAs(const pugi::xpath_query& query, const pugi::xml_node& context, double& value) {
    value = query.evaluate_number(context);
}
inline void EvaluateAs(const pugi::xpath_query& query, const pugi::xml_node& context, bool& value) {
    value = query.evaluate_boolean(context);
}
inline void EvaluateAs(const pugi::xpath_query& query, const pugi::xml_node& context, std::string& value) {
    value = query.evaluate_string(context);
}

/// Evaluates `source` from `context` into `value`, which is left as it was on failure: 774 with
/// "XPath evaluation failed, Query=[%s], error=%s" when the expression does not compile, 14 when
/// memory runs out.
template <class Value>
CZuError EvaluateXPathInto(Value& value, const XPathSource& source, const WNCodeLocation& location,
                           const pugi::xml_node& context) {
    Value evaluated{};
    const CZuError result = source.Evaluate("XPath evaluation failed", location, [&](const pugi::xpath_query& query) {
        EvaluateAs(query, context, evaluated);
    });
    if (!result.IsError()) value = std::move(evaluated);
    return result;
}

#endif
