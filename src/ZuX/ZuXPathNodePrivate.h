// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODEPRIVATE_H
#define ZUX_ZUXPATHNODEPRIVATE_H

#include "ZuXDocumentPrivate.h"

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <cstdint>

/// The body of an XPath node: one result item and the document that holds it (see ZuXBody.h).
class CZuXPathNodePrivate {
public:
    ZUX_EXPORT CZuXPathNodePrivate();
    ZUX_EXPORT ~CZuXPathNodePrivate();

    /// The item; nothing once its node or attribute was removed or its document was loaded
    /// again.
    pugi::xpath_node& Item() {
        // A detached body has neither document nor item. Nothing here calls into pugixml: this
        // runs on every access.
        const CZuXDocumentPrivate* document = m_pDocument.get();
        if (document && m_generation != document->m_generation) Recheck();
        return m_item;
    }

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xpath_node m_item;                            ///< a node, an attribute, or nothing
    std::uint64_t m_generation = 0;                     ///< when m_item was last known good

private:
    void Recheck() noexcept;
};

#endif
