// Not part of the public interface.
#ifndef ZUX_ZUXATTRIBUTEPRIVATE_H
#define ZUX_ZUXATTRIBUTEPRIVATE_H

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

class CZuXDocumentPrivate;

/// The body of an attribute handle: the attribute and the document that holds it.
class CZuXAttributePrivate {
public:
    ZUX_EXPORT CZuXAttributePrivate();
    ZUX_EXPORT ~CZuXAttributePrivate();

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xml_attribute m_item;                         ///< the attribute, or none
};

#endif
