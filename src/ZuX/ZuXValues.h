// Not part of the public interface.
//
// The conversions between attribute text and typed values, one struct per value form, and the
// mechanics that the attribute handle and the node share: read with a default, read into an
// out-parameter, write. Every public typed accessor is a one-line call into this file.
#ifndef ZUX_ZUXVALUES_H
#define ZUX_ZUXVALUES_H

#include "ZuXDocumentPrivate.h"
#include "ZuXFailureCodes.h"
#include "ZuXLocaleScope.h"
#include "ZuXName.h"
#include "ZuXNodeKinds.h"
#include "ZuXValueText.h"

#include <ZuUtils/CTimeStamp.h>

#include <pugixml.hpp>

#include <new>
#include <string>

static_assert(PUGIXML_VERSION == 1130, "the strict reads scan numbers as pugixml 1.13's conversions read them");

namespace zuxvalue {

// Each form: the value type, the default of an out-parameter read, the pugixml read with a
// default, and the pugixml write (which says whether it stored the text). The forms that the
// strict reads take add Exact: whether the text is entirely one value of the type and pugixml
// read that value from it (see ZuXValueText.h).
struct Bool {
    using Value = bool;
    static Value Zero() { return false; }
    static Value Read(const pugi::xml_attribute& a, Value d) { return a.as_bool(d); }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v); }
    static bool Exact(const char* text, Value) { return IsBoolText(text); }
};

struct Double {
    using Value = double;
    static Value Zero() { return 0.0; }
    static Value Read(const pugi::xml_attribute& a, Value d) {
        CLocaleScope c;
        return a.as_double(d);
    }
    static bool Write(pugi::xml_attribute& a, Value v) {
        CLocaleScope c;
        return a.set_value(v);
    }
    static bool Exact(const char* text, Value read) { return IsExactDouble(text, read); }
};

struct Int {
    using Value = int;
    static Value Zero() { return 0; }
    static Value Read(const pugi::xml_attribute& a, Value d) { return a.as_int(d); }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v); }
    static bool Exact(const char* text, Value read) { return IsExactInteger(text, read); }
};

struct UInt {
    using Value = unsigned int;
    static Value Zero() { return 0; }
    static Value Read(const pugi::xml_attribute& a, Value d) { return a.as_uint(d); }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v); }
    static bool Exact(const char* text, Value read) { return IsExactInteger(text, read); }
};

struct LongLong {
    using Value = long long;
    static Value Zero() { return 0; }
    static Value Read(const pugi::xml_attribute& a, Value d) { return a.as_llong(d); }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v); }
    static bool Exact(const char* text, Value read) { return IsExactInteger(text, read); }
};

struct ULongLong {
    using Value = unsigned long long;
    static Value Zero() { return 0; }
    static Value Read(const pugi::xml_attribute& a, Value d) { return a.as_ullong(d); }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v); }
    static bool Exact(const char* text, Value read) { return IsExactInteger(text, read); }
};

struct String {
    using Value = std::string;
    static Value Zero() { return std::string(); }
    static Value Read(const pugi::xml_attribute& a, const Value& d) { return a.as_string(d.c_str()); }
    static bool Write(pugi::xml_attribute& a, const Value& v) { return a.set_value(v.c_str()); }
};

// Time stamps as decimal system time.
struct SystemTime {
    using Value = CTimeStamp;
    static Value Zero() { return CTimeStamp(); }
    static Value Read(const pugi::xml_attribute& a, Value d) {
        return CTimeStamp::FromSystemTime(a.as_llong(d.AsSystemTime()));
    }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v.AsSystemTime()); }
    static bool Exact(const char* text, Value read) { return IsExactInteger(text, read.AsSystemTime()); }
};

// Time stamps as decimal Unix time; the default goes through the same conversion.
struct UnixTime {
    using Value = CTimeStamp;
    static Value Zero() { return CTimeStamp(); }
    static Value Read(const pugi::xml_attribute& a, Value d) {
        return CTimeStamp::FromUnixTime(a.as_llong(d.AsUnixTime()));
    }
    static bool Write(pugi::xml_attribute& a, Value v) { return a.set_value(v.AsUnixTime()); }
};

// Time stamps as ISO 8601 text, read by the strict read only: a text that FromIso8601 does not
// take reads as the default. The text passes through a std::string, so Read and Exact may throw
// std::bad_alloc; a write that cannot have the memory stores nothing.
struct Iso8601 {
    using Value = CTimeStamp;
    static Value Zero() { return CTimeStamp(); }
    static Value Read(const pugi::xml_attribute& a, Value d) {
        CTimeStamp read;
        return CTimeStamp::FromIso8601(a.value(), read) ? read : d;
    }
    static bool Write(pugi::xml_attribute& a, Value v) {
        try {
            return a.set_value(v.AsIso8601().c_str());
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    static bool Exact(const char* text, Value) {
        CTimeStamp read;
        return CTimeStamp::FromIso8601(text, read);
    }
};

// --- the attribute handle's families -------------------------------------------------------

/// GetAs<Type>: the value read with the form's zero default; success, or 14 when a string cannot
/// be copied.
template <class Form>
CZuError GetAs(const pugi::xml_attribute& attribute, typename Form::Value& value, const WNCodeLocation& location) {
    return CopyText(location, [&] { value = Form::Read(attribute, Form::Zero()); });
}

/// Set<Type>: 1168 on an empty handle, 14 when pugixml cannot allocate the text.
template <class Form>
CZuError Set(pugi::xml_attribute& attribute, const typename Form::Value& value, const WNCodeLocation& location) {
    if (Form::Write(attribute, value)) return CZuError::Success();
    return WriteFailure(static_cast<bool>(attribute), location);
}

// --- the node's families -------------------------------------------------------------------

/// AttributeAs<Type>: the named attribute's value, or the default when it is missing or has no
/// value.
template <class Form>
typename Form::Value ReadAttribute(const pugi::xml_node& node, const char* name, const typename Form::Value& fallback) {
    return Form::Read(AttributeNamed(node, name), fallback);
}

/// GetAttributeAs<Type>: 1168 with "Attribute=[name]" when there is no such attribute, 14 when a
/// string cannot be copied; the out-parameter is then left untouched.
template <class Form>
CZuError GetAttribute(const pugi::xml_node& node, const char* name, typename Form::Value& value,
                      const WNCodeLocation& location) {
    const pugi::xml_attribute attribute = AttributeNamed(node, name);
    if (!attribute) return WNErrorUtil::ErrorWin32(location, ZuWin32::NotFound, "Attribute=[%s]", PrintableName(name));
    return CopyText(location, [&] { value = Form::Read(attribute, Form::Zero()); });
}

/// SetAttribute<Type>: writes the first attribute of that name, appending it when missing.
/// 1168 with "Attribute=[name]" when the node takes no attributes or the name is not an XML name
/// (null and "" included), 14 when pugixml cannot allocate; an attribute appended for a write
/// that then failed is taken back.
template <class Form>
CZuError SetAttribute(pugi::xml_node node, const char* name, const typename Form::Value& value,
                      const WNCodeLocation& location) {
    // Refused also when such an attribute exists (read from a file): the write goes by the name,
    // and a name that could not be stored is not a name to write by.
    const bool storable = IsXmlName(name);
    pugi::xml_attribute attribute = storable ? node.attribute(name) : pugi::xml_attribute();
    const bool appended = IsNone(attribute) && storable;
    if (appended) attribute = node.append_attribute(name);
    // pugixml stores nothing into no attribute, so a failed lookup and append need no test here.
    if (Form::Write(attribute, value)) return CZuError::Success();
    // No body was ever made on the appended attribute, so taking it back needs no record.
    if (appended && !IsNone(attribute)) node.remove_attribute(attribute);
    return WriteFailure(storable && TakesAttributes(node), location, PrintableName(name));
}

// --- the strict reads, Parse and ParseAttribute --------------------------------------------------

/// The strict read of `attribute`'s text: the value when it is exactly one value of the form; 13
/// with "Attribute=[name], Value=[text]" when it is not, then "Line=[%lu], Column=[%lu]" where the
/// attribute stands in the text `document` was loaded from, when that is known; 14 when a form that
/// needs memory to read cannot have it. `value` is set only on success, to what the quiet reads give.
template <class Form>
CZuError ParseText(const pugi::xml_attribute& attribute, CZuXDocumentPrivate* document, typename Form::Value& value,
                   const WNCodeLocation& location) {
    try {
        const typename Form::Value read = Form::Read(attribute, Form::Zero());
        if (Form::Exact(attribute.value(), read)) {
            value = read;
            return CZuError::Success();
        }
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
    CZuError malformed = WNErrorUtil::ErrorWin32(location, ZuWin32::InvalidData, "Attribute=[%s], Value=[%s]",
                                                 attribute.name(), attribute.value());
    SourcePosition position{0, 0};
    if (document && document->m_source.Find(attribute, position) == PositionLookup::Found)
        malformed.Push(location, "Line=[%lu], Column=[%lu]", position.line, position.column);
    return malformed;
}

/// CZuXAttribute::Parse, on an attribute body: ParseText; 1168 with "Attribute=[]" on an empty handle.
template <class Form, class Body>
CZuError ParseValue(Body& body, typename Form::Value& value, const WNCodeLocation& location) {
    const pugi::xml_attribute& attribute = body.Item(); // first: it may bring the body up to date
    if (!attribute) return WNErrorUtil::ErrorWin32(location, ZuWin32::NotFound, "Attribute=[%s]", "");
    return ParseText<Form>(attribute, body.m_pDocument.get(), value, location);
}

/// CZuXNode::ParseAttribute, on a node body: ParseText on the first attribute of that name; 1168
/// with "Attribute=[name]" when there is none.
template <class Form, class Body>
CZuError ParseNamedValue(Body& body, const char* name, typename Form::Value& value, const WNCodeLocation& location) {
    const pugi::xml_attribute attribute = AttributeNamed(body.Item(), name);
    if (!attribute) return WNErrorUtil::ErrorWin32(location, ZuWin32::NotFound, "Attribute=[%s]", PrintableName(name));
    return ParseText<Form>(attribute, body.m_pDocument.get(), value, location);
}

} // namespace zuxvalue

#endif
