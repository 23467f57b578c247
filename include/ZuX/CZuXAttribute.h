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

/// A handle on one attribute of an element (or on no attribute: an empty handle).
///
/// Sharing, copying and threads work as for CZuXNode: handles built from one body pointer move
/// together, copies move alone, and the body keeps the document's tree alive; pointers to
/// handles and bodies may be copied and released on any thread, while constructing, copying or
/// assigning a handle, like every call, uses the document, one thread at a time.
///
/// Typed values: attribute text carries no type, pugixml converts it on every read. Each type has
/// a family of three kinds:
/// - As<Type>(fallback) returns the fallback where the handle is empty or the attribute has no
///   value (pugixml stores an empty text as no value);
/// - GetAs<Type>(value) succeeds, with 0, false, "" or the clear stamp where there is no value,
///   but for a string that cannot be copied for lack of memory (14, `value` unchanged);
/// - Set<Type>(value) fails with Win32 1168 on an empty handle and 14 when pugixml runs out of
///   memory, leaving the attribute unchanged.
///
/// Each family below says what is particular to its type. The two time-stamp forms write bare
/// numbers: read a value back in the form it was written in.
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

    /// @name Namespaces
    ///@{

    /// The parts of the attribute's name and the namespace it is in, as CZuXNode's: a prefix is
    /// resolved from the attribute's element up; an attribute without a prefix is in no namespace
    /// ("" as for an empty handle), except `xmlns` itself, which is, like every `xmlns:` one, in
    /// the namespace of the declarations.
    std::string LocalName() const;
    std::string Prefix() const;
    std::string NamespaceUri() const;
    ///@}

    /// Where the attribute's name starts in the text it was loaded from, as
    /// CZuXNode::GetSourcePosition tells a node's; 1168 likewise for an attribute the program made
    /// or renamed to a longer name.
    CZuError GetSourcePosition(unsigned long& line, unsigned long& column) const;

    /// @name Values as BOOL
    ///@{

    /// True for text that starts with 1, t, T, y or Y (pugixml's reading); written as "true" or "false".
    bool AsBOOL(bool fallback) const;
    CZuError GetAsBOOL(bool& value) const;
    CZuError SetBOOL(bool value);
    ///@}

    /// @name Values as DOUBLE
    ///@{

    /// Written with "%.17g" and read back the same whatever the process locale.
    double AsDOUBLE(double fallback) const;
    CZuError GetAsDOUBLE(double& value) const;
    CZuError SetDOUBLE(double value);
    ///@}

    /// @name Values as INT
    ///@{

    /// A signed 32-bit integer, written as decimal text.
    int AsINT(int fallback) const;
    CZuError GetAsINT(int& value) const;
    CZuError SetINT(int value);
    ///@}

    /// @name Values as UINT
    ///@{

    /// An unsigned 32-bit integer, written as decimal text.
    unsigned int AsUINT(unsigned int fallback) const;
    CZuError GetAsUINT(unsigned int& value) const;
    CZuError SetUINT(unsigned int value);
    ///@}

    /// @name Values as LONGLONG
    ///@{

    /// A signed 64-bit integer, written as decimal text.
    long long AsLONGLONG(long long fallback) const;
    CZuError GetAsLONGLONG(long long& value) const;
    CZuError SetLONGLONG(long long value);
    ///@}

    /// @name Values as ULONGLONG
    ///@{

    /// An unsigned 64-bit integer, written as decimal text (up to twenty digits).
    unsigned long long AsULONGLONG(unsigned long long fallback) const;
    CZuError GetAsULONGLONG(unsigned long long& value) const;
    CZuError SetULONGLONG(unsigned long long value);
    ///@}

    /// @name Values as String
    ///@{

    /// The text itself; written up to its first NUL character, and "" leaves the attribute without
    /// a value. Without a fallback, "" stands in for it.
    std::string AsString() const;
    std::string AsString(const std::string& fallback) const;
    CZuError GetAsString(std::string& value) const;
    CZuError SetString(const std::string& value);
    ///@}

    /// @name Values as TimeStamp
    ///@{

    /// A stamp written as decimal system time; without a fallback, the clear stamp stands in for it.
    CTimeStamp AsTimeStamp() const;
    CTimeStamp AsTimeStamp(CTimeStamp fallback) const;
    CZuError GetAsTimeStamp(CTimeStamp& value) const;
    CZuError SetTimeStamp(CTimeStamp value);
    ///@}

    /// @name Values as TimeStampUnixTime
    ///@{

    /// A stamp written as whole seconds since 1970 in decimal: the sub-second part is dropped toward
    /// 1970, the text 0 reads as the clear stamp, and a fallback goes through the same conversion
    /// (cut to whole seconds); a stamp less than a second from 1970 is written as 0. Without a fallback, the clear
    /// stamp stands in for it.
    CTimeStamp AsTimeStampUnixTime() const;
    CTimeStamp AsTimeStampUnixTime(CTimeStamp fallback) const;
    CZuError GetAsTimeStampUnixTime(CTimeStamp& value) const;
    CZuError SetTimeStampUnixTime(CTimeStamp value);
    ///@}

    /// @name Strict reads
    ///@{

    /// The value, read only when the text is entirely one value of the type; on success `value`
    /// is what As<Type> gives. Fails with Win32 13 and "Attribute=[name], Value=[text]" when the
    /// text is anything else, with 1168 and "Attribute=[]" on an empty handle; `value` is then
    /// untouched. XML whitespace (space, tab, CR, LF) may surround the text, and nothing else:
    /// - bool: true, false, 1 or 0, not followed by anything else and not preceded by whitespace
    ///   (AsBOOL reads only the first character, so " true" would read as false);
    /// - integers: an optional + or -, then decimal digits or 0x and hexadecimal digits, within
    ///   the type's range ("-0" is 0 for the unsigned types; "1.5", "1e3" and "" are malformed);
    /// - double: an optional sign, decimal digits with an optional fraction and exponent, or inf,
    ///   infinity or nan in any letter case; never a decimal comma, whatever the process locale.
    ///   Out of range is a nonzero number that reads as an infinity or as 0.
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
