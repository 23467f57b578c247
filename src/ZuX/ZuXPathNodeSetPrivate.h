// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODESETPRIVATE_H
#define ZUX_ZUXPATHNODESETPRIVATE_H

#include "ZuXDocumentPrivate.h"

#include <ZuX/CZuXPathNodeSet.h>
#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

/// The body of an XPath node set: the selected items and the document that holds them (see
/// ZuXBody.h); its generation is the selection's. The set is a snapshot: its items are checked one
/// by one when they are used, and the set itself only reads as empty once the document was loaded
/// again.
class CZuXPathNodeSetPrivate : public CZuXDocumentHold {
public:
    ZUX_EXPORT CZuXPathNodeSetPrivate();
    ZUX_EXPORT ~CZuXPathNodeSetPrivate();

    /// The selected items; none once the document was loaded again.
    const pugi::xpath_node_set& Items() const {
        static const pugi::xpath_node_set none;
        return !m_items.empty() && m_pDocument->LoadedSince(m_generation) ? none : m_items;
    }

    pugi::xpath_node_set m_items; ///< read through Items()
};

#endif
