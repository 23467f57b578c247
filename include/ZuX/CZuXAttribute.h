// Attribute handles: one attribute of an element.
#ifndef ZUX_CZUXATTRIBUTE_H
#define ZUX_CZUXATTRIBUTE_H

#include <ZuUtils/CTimeStamp.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXAttributePrivate;

/// A handle on one attribute of an element (or on no attribute: an empty handle).
///
/// Sharing and copying work as for CZuXNode: handles built from one body pointer move
/// together, copies move alone, and the body keeps the document's tree alive.
///
/// Typed values: attribute text carries no type, pugixml converts it on every read. The As<Type>
/// reads return the caller's default where the attribute is missing or has no value (pugixml
/// stores an empty text as no value); the GetAs<Type> reads always succeed, with 0, false, ""
/// or the clear stamp in place of a default. Doubles are written with "%.17g" and read the same
/// whatever the process locale. The two time-stamp forms write bare numbers: read a value back
/// in the form it was written in.
class ZUX_EXPORT CZuXAttribute {
public:
    /// An empty handle, attached to no document.
    CZuXAttribute();
    /// Shares the given body. An empty pointer gives an empty handle of its own.
    CZuXAttribute(boost::shared_ptr<CZuXAttributePrivate> body);
    /// A new body on the same document and attribute as `other`.
    CZuXAttribute(CZuXAttribute& other);
    /// The same, from a const handle.
    CZuXAttribute(const CZuXAttribute& other);
    /// Replaces this handle's body by a new one on the same document and attribute as `other`.
    CZuXAttribute& operator=(CZuXAttribute& other);
    /// The same, from a const handle.
    CZuXAttribute& operator=(const CZuXAttribute& other);
    /// Releases the body; the tree lives on while other handles or bodies hold it.
    virtual ~CZuXAttribute();

    /// True when the handle is on an attribute.
    bool Exists() const;
    /// The attribute's name; "" for an empty handle.
    std::string Name() const;
    /// Moves to the element's next attribute, or makes the handle empty. Moves the body, so
    /// every handle sharing it.
    CZuError MoveNext() const;
    /// Moves to the element's previous attribute, or makes the handle empty.
    CZuError MovePrevious() const;
    /// The attribute's value; "" for an empty handle or an attribute without a value.
    CZuError GetText(std::string& text);
    /// Stores the text up to its first NUL character. Fails with Win32 1168 on an empty handle,
    /// 14 when pugixml runs out of memory.
    CZuError SetText(const std::string& text);

    /// @name Typed values
    /// As<Type>(fallback) gives the fallback where the handle is empty or the attribute has no
    /// value; GetAs<Type>(value) always succeeds and writes `value` (0, false, "" or the clear
    /// stamp where there is no value); Set<Type>(value) fails with Win32 1168 on an empty handle
    /// and 14 when pugixml runs out of memory, leaving the attribute unchanged.
    ///@{

    /// The value as a boolean (pugixml: true for text starting with 1, t, T, y or Y).
    bool AsBOOL(bool fallback) const;
    /// The value as a boolean; false when there is none.
    CZuError GetAsBOOL(bool& value) const;
    /// Writes "true" or "false".
    CZuError SetBOOL(bool value);

    /// The value as a double, read the same whatever the process locale.
    double AsDOUBLE(double fallback) const;
    /// The value as a double; 0.0 when there is none.
    CZuError GetAsDOUBLE(double& value) const;
    /// Writes the value with "%.17g", whatever the process locale.
    CZuError SetDOUBLE(double value);

    /// The value as a signed 32-bit integer.
    int AsINT(int fallback) const;
    /// The value as a signed 32-bit integer; 0 when there is none.
    CZuError GetAsINT(int& value) const;
    /// Writes the decimal text of the value.
    CZuError SetINT(int value);

    /// The value as an unsigned 32-bit integer.
    unsigned int AsUINT(unsigned int fallback) const;
    /// The value as an unsigned 32-bit integer; 0 when there is none.
    CZuError GetAsUINT(unsigned int& value) const;
    /// Writes the decimal text of the value.
    CZuError SetUINT(unsigned int value);

    /// The value as a signed 64-bit integer.
    long long AsLONGLONG(long long fallback) const;
    /// The value as a signed 64-bit integer; 0 when there is none.
    CZuError GetAsLONGLONG(long long& value) const;
    /// Writes the decimal text of the value.
    CZuError SetLONGLONG(long long value);

    /// The value as an unsigned 64-bit integer.
    unsigned long long AsULONGLONG(unsigned long long fallback) const;
    /// The value as an unsigned 64-bit integer; 0 when there is none.
    CZuError GetAsULONGLONG(unsigned long long& value) const;
    /// Writes the decimal text of the value (up to twenty digits).
    CZuError SetULONGLONG(unsigned long long value);

    /// The value, or "" when there is none.
    std::string AsString() const;
    /// The value, or the fallback (up to its first NUL character) when there is none.
    std::string AsString(const std::string& fallback) const;
    /// The value; "" when there is none.
    CZuError GetAsString(std::string& value) const;
    /// Stores the text up to its first NUL character; "" leaves the attribute without a value.
    CZuError SetString(const std::string& value);

    /// A stamp read from decimal system time; the clear stamp when there is no value.
    CTimeStamp AsTimeStamp() const;
    /// The same, or the fallback unchanged when there is no value.
    CTimeStamp AsTimeStamp(CTimeStamp fallback) const;
    /// A stamp read from decimal system time; clear when there is no value.
    CZuError GetAsTimeStamp(CTimeStamp& value) const;
    /// Writes the stamp's system time as decimal text.
    CZuError SetTimeStamp(CTimeStamp value);

    /// A stamp read from decimal Unix time; the text 0 and a missing value give the clear stamp.
    CTimeStamp AsTimeStampUnixTime() const;
    /// The same, or the fallback cut to whole seconds (through its Unix time) when there is no value.
    CTimeStamp AsTimeStampUnixTime(CTimeStamp fallback) const;
    /// A stamp read from decimal Unix time; clear for the text 0 or no value.
    CZuError GetAsTimeStampUnixTime(CTimeStamp& value) const;
    /// Writes whole seconds since 1970 as decimal text; the sub-second part is dropped toward 1970,
    /// and a stamp less than a second from 1970 is written as 0, which reads back clear.
    CZuError SetTimeStampUnixTime(CTimeStamp value);

    ///@}

    /// The body of the handle `attribute` points to. A null pointer gives a new empty body.
    boost::shared_ptr<CZuXAttributePrivate> GetPrivate(boost::shared_ptr<CZuXAttribute> attribute);

private:
    // The handle's own body pointer; for the library's operations only.
    ZUX_NO_EXPORT boost::shared_ptr<CZuXAttributePrivate> GetPrivate();

    boost::shared_ptr<CZuXAttributePrivate> m_pPrivate;
};

#endif
