// Attribute handles: one attribute of an element.
#ifndef ZUX_CZUXATTRIBUTE_H
#define ZUX_CZUXATTRIBUTE_H

#include <ZuUtils/CTimeStamp.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CZuXAttributePrivate;
class CZuXNode;

/// A handle on one attribute of an element, or on none (an empty handle).
///
/// Sharing, copying, removal and threads work as for CZuXNode: handles built from one body pointer
/// move together, copies move alone, the body keeps the document's tree alive, and a handle on an
/// attribute that was removed (with its element or alone) is empty from then on. Calls that return
/// a CZuError never throw, and fail with Win32 1168 on an empty handle, 14 when memory runs out;
/// the attribute and the out-parameters are then as they were.
///
/// Typed values: attribute text carries no type, pugixml converts it on every read. Each type has
/// a family of three kinds:
/// - As<Type>(fallback): the value, or the fallback where the handle is empty or the attribute has
///   no value (pugixml stores an empty text as no value);
/// - GetAs<Type>(value): the value, or 0, false, "" or the clear stamp where there is none; it
///   fails only with 14, for a string;
/// - Set<Type>(value): writes the value as text.
///
/// The two time-stamp forms write bare numbers: read a value back in the form it was written in.
class ZUX_EXPORT CZuXAttribute {
public:
    /// An empty handle; a handle sharing `body` (an empty pointer gives an empty handle of its own);
    /// a new body on the attribute of `other`, made by copying or assigning it. The destructor
    /// releases the body; the tree lives on while other handles or bodies hold it.
    ///@{
    CZuXAttribute();
    CZuXAttribute(boost::shared_ptr<CZuXAttributePrivate> body);
    CZuXAttribute(CZuXAttribute& other);
    CZuXAttribute(const CZuXAttribute& other);
    CZuXAttribute& operator=(CZuXAttribute& other);
    CZuXAttribute& operator=(const CZuXAttribute& other);
    virtual ~CZuXAttribute();
    ///@}

    /// Whether the handle is on an attribute, and its name ("" for an empty handle).
    ///@{
    bool Exists() const;
    std::string Name() const;
    ///@}
    /// Move the body, so every handle sharing it, to the element's next or previous attribute; past
    /// the end the handle becomes empty. They always succeed.
    ///@{
    CZuError MoveNext() const;
    CZuError MovePrevious() const;
    ///@}
    /// The attribute's value ("" for an empty handle or an attribute without one), and a new value
    /// stored up to its first NUL character.
    ///@{
    CZuError GetText(std::string& text);
    CZuError SetText(const std::string& text);
    ///@}

    /// The parts of the attribute's name and the namespace it is in, as CZuXNode's: a prefix is
    /// resolved from the attribute's element up; an attribute without a prefix is in no namespace
    /// ("" as for an empty handle), except `xmlns` itself, which is, like every `xmlns:` one, in
    /// the namespace of the declarations.
    ///@{
    std::string LocalName() const;
    std::string Prefix() const;
    std::string NamespaceUri() const;
    ///@}

    /// Where the attribute's name starts in the text it was loaded from, as
    /// CZuXNode::GetSourcePosition tells a node's; 1168 likewise for an attribute the program made
    /// or renamed to a longer name.
    CZuError GetSourcePosition(unsigned long& line, unsigned long& column) const;

    /// @name Typed values
    ///@{

    /// The families of the class comment:
    /// - BOOL: true for text that starts with 1, t, T, y or Y (pugixml's reading); written as
    ///   "true" or "false".
    /// - DOUBLE: written with "%.17g" and read back the same whatever the process locale.
    /// - INT, UINT, LONGLONG, ULONGLONG: signed and unsigned 32- and 64-bit integers as decimal text
    ///   (up to twenty digits).
    /// - String: the text itself, written up to its first NUL character; "" leaves the attribute
    ///   without a value.
    /// - TimeStamp: decimal system time. TimeStampUnixTime: whole seconds since 1970 in decimal,
    ///   the sub-second part dropped toward 1970, so that a stamp less than a second from 1970 is
    ///   written as 0; the text 0 reads as the clear stamp, and a fallback goes through the same
    ///   conversion (cut to whole seconds).
    ///
    /// The forms without a fallback read "" or the clear stamp in its place.
    bool AsBOOL(bool fallback) const;
    CZuError GetAsBOOL(bool& value) const;
    CZuError SetBOOL(bool value);
    double AsDOUBLE(double fallback) const;
    CZuError GetAsDOUBLE(double& value) const;
    CZuError SetDOUBLE(double value);
    int AsINT(int fallback) const;
    CZuError GetAsINT(int& value) const;
    CZuError SetINT(int value);
    unsigned int AsUINT(unsigned int fallback) const;
    CZuError GetAsUINT(unsigned int& value) const;
    CZuError SetUINT(unsigned int value);
    long long AsLONGLONG(long long fallback) const;
    CZuError GetAsLONGLONG(long long& value) const;
    CZuError SetLONGLONG(long long value);
    unsigned long long AsULONGLONG(unsigned long long fallback) const;
    CZuError GetAsULONGLONG(unsigned long long& value) const;
    CZuError SetULONGLONG(unsigned long long value);
    std::string AsString() const;
    std::string AsString(const std::string& fallback) const;
    CZuError GetAsString(std::string& value) const;
    CZuError SetString(const std::string& value);
    CTimeStamp AsTimeStamp() const;
    CTimeStamp AsTimeStamp(CTimeStamp fallback) const;
    CZuError GetAsTimeStamp(CTimeStamp& value) const;
    CZuError SetTimeStamp(CTimeStamp value);
    CTimeStamp AsTimeStampUnixTime() const;
    CTimeStamp AsTimeStampUnixTime(CTimeStamp fallback) const;
    CZuError GetAsTimeStampUnixTime(CTimeStamp& value) const;
    CZuError SetTimeStampUnixTime(CTimeStamp value);
    ///@}

    /// The value, read only when the text is entirely one value of the type; on success `value`
    /// is what As<Type> gives. 13 with "Attribute=[name], Value=[text]" when the text is anything
    /// else, 1168 with "Attribute=[]" on an empty handle. XML whitespace (space, tab, CR, LF) may
    /// surround the text, and nothing else:
    /// - bool: true, false, 1 or 0, not followed by anything else and not preceded by whitespace
    ///   (AsBOOL reads only the first character, so " true" would read as false);
    /// - integers: an optional + or -, then decimal digits or 0x and hexadecimal digits, within
    ///   the type's range ("-0" is 0 for the unsigned types; "1.5", "1e3" and "" are malformed);
    /// - double: an optional sign, decimal digits with an optional fraction and exponent, or inf,
    ///   infinity or nan in any letter case; never a decimal comma, whatever the process locale.
    ///   Out of range is a nonzero number that reads as an infinity or as 0.
    ///@{
    CZuError Parse(bool& value) const;
    CZuError Parse(double& value) const;
    CZuError Parse(int& value) const;
    CZuError Parse(unsigned int& value) const;
    CZuError Parse(long long& value) const;
    CZuError Parse(unsigned long long& value) const;
    ///@}

    /// The body of the handle `attribute` points to. A null pointer gives a new empty body.
    boost::shared_ptr<CZuXAttributePrivate> GetPrivate(boost::shared_ptr<CZuXAttribute> attribute);

private:
    friend class CZuXNode; // its attribute walk moves the handle's body

    // The handle's own body pointer; for the library's operations only.
    ZUX_NO_EXPORT boost::shared_ptr<CZuXAttributePrivate> GetPrivate();

    boost::shared_ptr<CZuXAttributePrivate> m_pPrivate;
};

#endif
