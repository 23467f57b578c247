// Not part of the public interface.
#ifndef ZUX_ZUXPATHNODEPRIVATE_H
#define ZUX_ZUXPATHNODEPRIVATE_H

#include "ZuXBody.h"

#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

/// The body of an XPath node: one result item, a node, an attribute or nothing, and the document
/// that holds it (see ZuXBody.h).
class CZuXPathNodePrivate : public CZuXItemBody<CZuXPathNodePrivate, pugi::xpath_node> {
public:
    ZUX_EXPORT CZuXPathNodePrivate();
    ZUX_EXPORT ~CZuXPathNodePrivate();

    [[gnu::noinline]] void Recheck() noexcept; // kept out of Item(), which every access inlines
};

#endif
