// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODESETPRIVATE_H
#define ZUX_ZUXPATHNODESETPRIVATE_H

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

class CZuXDocumentPrivate;

/// The body of an XPath node set: the selected items and the document that holds them.
class CZuXPathNodeSetPrivate {
public:
    ZUX_EXPORT CZuXPathNodeSetPrivate();
    ZUX_EXPORT ~CZuXPathNodeSetPrivate();

    boost::shared_ptr<CZuXDocumentPrivate> m_pDocument; ///< null while detached
    pugi::xpath_node_set m_item;                        ///< the selected items
};

#endif
