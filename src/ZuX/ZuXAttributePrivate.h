// Not part of the public interface.
#ifndef ZUX_ZUXATTRIBUTEPRIVATE_H
#define ZUX_ZUXATTRIBUTEPRIVATE_H

#include "ZuXDocumentPrivate.h"

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <cstdint>

/// The body of an attribute handle: the attribute and the document that holds it (see
/// ZuXBody.h).
class CZuXAttributePrivate {
public:
    ZUX_EXPORT CZuXAttributePrivate();
    ZUX_EXPORT ~CZuXAttributePrivate();

    /// The attribute; none once it was removed or its document was loaded again.
    pugi::xml_attribute& Item() {
        // A detached body has neither document nor item. Nothing here calls into pugixml: this
        // runs on every access.
        const CZuXDocumentPrivate* document = m_pDocument.get();
        if (document && m_generation != document->m_generation) Recheck();
        return m_item;
    }

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xml_attribute m_item;                         ///< the attribute, or none; read through Item()
    std::uint64_t m_generation = 0;                     ///< when m_item was last known good
    pugi::xml_node m_element;                           ///< the element that holds m_item

private:
    void Recheck() noexcept;
};

#endif
