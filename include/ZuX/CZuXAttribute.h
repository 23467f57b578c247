// Attribute handles: one attribute of an element.
#ifndef ZUX_CZUXATTRIBUTE_H
#define ZUX_CZUXATTRIBUTE_H

#include <ZuX/ZuXExport.h>
#include <ZuUtils/CZuError.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXAttributePrivate;

/// A handle on one attribute of an element (or on no attribute: an empty handle).
///
/// Sharing and copying work as for CZuXNode: handles built from one body pointer move
/// together, copies move alone, and the body keeps the document's tree alive.
class ZUX_EXPORT CZuXAttribute {
public:
    /// An empty handle, attached to no document.
    CZuXAttribute();
    /// Shares the given body. An empty pointer gives an empty handle of its own.
    CZuXAttribute(boost::shared_ptr<CZuXAttributePrivate> body);
    /// A new body on the same document and attribute as `other`.
    CZuXAttribute(CZuXAttribute& other);
    CZuXAttribute(const CZuXAttribute& other);
    /// Replaces this handle's body by a new one on the same document and attribute as `other`.
    CZuXAttribute& operator=(CZuXAttribute& other);
    CZuXAttribute& operator=(const CZuXAttribute& other);
    virtual ~CZuXAttribute();

    /// The body of the handle `attribute` points to. A null pointer gives a new empty body.
    boost::shared_ptr<CZuXAttributePrivate> GetPrivate(boost::shared_ptr<CZuXAttribute> attribute);

private:
    // The handle's own body pointer; for the library's operations only.
    ZUX_NO_EXPORT boost::shared_ptr<CZuXAttributePrivate> GetPrivate();

    boost::shared_ptr<CZuXAttributePrivate> m_pPrivate;
};

#endif
