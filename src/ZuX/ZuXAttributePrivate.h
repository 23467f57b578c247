// Not part of the public interface.
#ifndef ZUX_ZUXATTRIBUTEPRIVATE_H
#define ZUX_ZUXATTRIBUTEPRIVATE_H

#include "ZuXBody.h"

#include <ZuX/ZuXExport.h>

#include <pugixml.hpp>

/// The body of an attribute handle: the attribute and the document that holds it (see
/// ZuXBody.h).
class CZuXAttributePrivate : public CZuXItemBody<CZuXAttributePrivate, pugi::xml_attribute> {
public:
    ZUX_EXPORT CZuXAttributePrivate();
    ZUX_EXPORT ~CZuXAttributePrivate();

    [[gnu::noinline]] void Recheck() noexcept; // kept out of Item(), which every access inlines

    pugi::xml_node m_element; ///< the element that holds m_item
};

#endif
