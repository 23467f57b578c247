#include <ZuX/CZuXPathContext.h>

#include "ZuXName.h"
#include "ZuXNamespaces.h"
#include "ZuXPathContextPrivate.h"

#include <boost/make_shared.hpp>

#include <new>
#include <utility>

namespace {

// Why `name` cannot take a value of `type` in `context`; null when it can.
const char* VariableRefusal(const CZuXPathContextPrivate& context, const std::string& name,
                            pugi::xpath_value_type type) {
    if (HoldsNul(name) || !IsXmlName(name.c_str())) return "not an XML name";
    const pugi::xpath_variable* held = context.m_variables.get(name.c_str());
    if (!held || held->type() == type) return nullptr;
    switch (held->type()) {
    case pugi::xpath_type_number:
        return "the variable holds a number";
    case pugi::xpath_type_string:
        return "the variable holds a string";
    default:
        return "the variable holds a boolean";
    }
}

// Sets the variable unless its name, its type or (`valueRefusal`) the value is refused.
template <class Value>
CZuError SetVariableTo(CZuXPathContextPrivate& context, const std::string& name, Value value,
                       pugi::xpath_value_type type, const char* valueRefusal, const WNCodeLocation& location) {
    const char* refusal = VariableRefusal(context, name, type);
    if (!refusal) refusal = valueRefusal;
    if (refusal)
        return WNErrorUtil::ErrorWin32(location, ZuWin32::InvalidData,
                                       "XPath variable refused, Variable=[%s], error=%s", name.c_str(), refusal);
    // pugixml allocates without throwing: a new variable, or a string's copy.
    if (!context.m_variables.set(name.c_str(), value)) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    return CZuError::Success();
}

const char* const kNulInValue = "the value holds a NUL character";

} // namespace

CZuXPathContextPrivate::CZuXPathContextPrivate() = default;

CZuXPathContextPrivate::~CZuXPathContextPrivate() = default;

CZuXPathContext::CZuXPathContext() : m_pPrivate(boost::make_shared<CZuXPathContextPrivate>()) {}

CZuXPathContext::CZuXPathContext(boost::shared_ptr<CZuXPathContextPrivate> body)
    : m_pPrivate(body ? std::move(body) : boost::make_shared<CZuXPathContextPrivate>()) {}

CZuXPathContext::~CZuXPathContext() = default;

CZuError CZuXPathContext::SetVariable(const std::string& name, const std::string& value) {
    return SetVariableTo(*m_pPrivate, name, value.c_str(), pugi::xpath_type_string,
                         HoldsNul(value) ? kNulInValue : nullptr,
                         ZU_CODE_LOCATION("CZuError CZuXPathContext::SetVariable(const string&, const string&)"));
}

CZuError CZuXPathContext::SetVariable(const std::string& name, const char* value) {
    return SetVariableTo(*m_pPrivate, name, value ? value : "", pugi::xpath_type_string,
                         value ? nullptr : "the value is null",
                         ZU_CODE_LOCATION("CZuError CZuXPathContext::SetVariable(const string&, const char*)"));
}

CZuError CZuXPathContext::SetVariable(const std::string& name, double value) {
    return SetVariableTo(*m_pPrivate, name, value, pugi::xpath_type_number, nullptr,
                         ZU_CODE_LOCATION("CZuError CZuXPathContext::SetVariable(const string&, double)"));
}

CZuError CZuXPathContext::SetVariable(const std::string& name, bool value) {
    return SetVariableTo(*m_pPrivate, name, value, pugi::xpath_type_boolean, nullptr,
                         ZU_CODE_LOCATION("CZuError CZuXPathContext::SetVariable(const string&, bool)"));
}

CZuError CZuXPathContext::BindNamespace(const std::string& prefix, const std::string& uri) {
    const WNCodeLocation location =
        ZU_CODE_LOCATION("CZuError CZuXPathContext::BindNamespace(const string&, const string&)");
    const bool xml = uri == kXmlNamespace;
    const char* refusal = !IsNcName(prefix)         ? "not an XML name without a colon"
                          : prefix == "xmlns"       ? "the prefix xmlns is reserved"
                          : prefix == "xml" && !xml ? "the prefix xml stands for the XML namespace only"
                          : uri.empty()             ? "the URI is empty"
                          : HoldsNul(uri)           ? "the URI holds a NUL character"
                          : uri == kXmlnsNamespace  ? "namespace declarations are no attributes in XPath"
                                                    : nullptr;
    if (refusal)
        return WNErrorUtil::ErrorWin32(location, ZuWin32::InvalidData,
                                       "XPath namespace refused, Prefix=[%s], Uri=[%s], error=%s", prefix.c_str(),
                                       uri.c_str(), refusal);
    try {
        std::string variable = xml ? std::string() : NamespaceVariable(uri);
        if (!xml && !m_pPrivate->m_variables.set(variable.c_str(), uri.c_str()))
            return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
        m_pPrivate->m_prefixes[prefix] = std::move(variable);
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
    return CZuError::Success();
}
