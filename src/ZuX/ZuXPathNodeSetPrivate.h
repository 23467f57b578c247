// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODESETPRIVATE_H
#define ZUX_ZUXPATHNODESETPRIVATE_H

#include "MakeSharedNothrow.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXLocaleScope.h"

#include <ZuUtils/CZuError.h>
#include <ZuX/CZuXPathNodeSet.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <cstdint>
#include <new>
#include <string>

/// The body of an XPath node set: the selected items and the document that holds them (see
/// ZuXBody.h). The set is a snapshot: its items are checked one by one when they are used, and
/// the set itself only reads as empty once the document was loaded again.
class CZuXPathNodeSetPrivate {
public:
    ZUX_EXPORT CZuXPathNodeSetPrivate();
    ZUX_EXPORT ~CZuXPathNodeSetPrivate();

    /// The selected items; none once the document was loaded again.
    const pugi::xpath_node_set& Items() const {
        static const pugi::xpath_node_set none;
        return !m_item.empty() && m_pDocument->LoadedSince(m_generation) ? none : m_item;
    }

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xpath_node_set m_item;                        ///< the selected items; read through Items()
    std::uint64_t m_generation = 0;                     ///< when the items were selected
};

/// Runs `evaluate()`, an XPath evaluation by pugixml, under the C locale, so that numbers in the
/// expression and in the values it compares or formats are converted the same whatever locale the
/// process runs under, and reports what pugixml throws: 774 with "`failure`, Query=[%s], error=%s"
/// when it refuses the expression, 14 when memory runs out.
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

/// Selects the items of an XPath 1.0 expression, without variables, into a new set in `nodes`:
/// the document's SelectNodes and the node's share it. `place(body)` runs after the set's body is
/// allocated: it puts the body on a document and generation and returns the context node. `nodes`
/// is reset first and stays null on failure: 774 with "XPath query failed, Query=[%s], error=%s"
/// when the expression does not compile or does not give a node set, 14 when memory runs out (for
/// the body, the handle, or in pugixml's evaluation).
template <class Place>
CZuError SelectNodesInto(CZuXPathNodeSetPtr& nodes, const std::string& query, const WNCodeLocation& location,
                         Place&& place) {
    nodes.reset();
    boost::shared_ptr<CZuXPathNodeSetPrivate> body = boost::make_shared_nothrow<CZuXPathNodeSetPrivate>();
    if (!body) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    const pugi::xml_node context = place(*body);
    CZuError selected = EvaluateXPathSafely(query, "XPath query failed", location,
                                            [&] { body->m_item = context.select_nodes(query.c_str(), nullptr); });
    if (selected.IsError()) return selected;
    nodes = boost::make_shared_nothrow<CZuXPathNodeSet>(body);
    if (!nodes) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    return selected;
}

#endif
