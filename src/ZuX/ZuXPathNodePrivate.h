// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODEPRIVATE_H
#define ZUX_ZUXPATHNODEPRIVATE_H

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

class CZuXDocumentPrivate;

/// The body of an XPath node: one result item and the document that holds it.
class CZuXPathNodePrivate {
public:
    ZUX_EXPORT CZuXPathNodePrivate();
    ZUX_EXPORT ~CZuXPathNodePrivate();

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xpath_node m_item;                            ///< a node, an attribute, or nothing
};

#endif
