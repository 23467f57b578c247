#include <ZuX/CZuXAttribute.h>

#include "ZuXAttributePrivate.h"
#include "ZuXBody.h"
#include "ZuXNamespaces.h"
#include "ZuXValues.h"

using namespace zuxvalue;

CZuXAttributePrivate::CZuXAttributePrivate() = default;

CZuXAttributePrivate::~CZuXAttributePrivate() = default;

void CZuXAttributePrivate::Recheck() noexcept {
    RecheckAddresses({ItemAddress(m_item), ItemAddress(m_element)});
}

CZuXAttribute::CZuXAttribute() : m_pPrivate(zuxpool::New<CZuXAttributePrivate>()) {}

CZuXAttribute::CZuXAttribute(boost::shared_ptr<CZuXAttributePrivate> body) : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXAttribute::CZuXAttribute(CZuXAttribute& other) : CZuXAttribute(static_cast<const CZuXAttribute&>(other)) {}

CZuXAttribute::CZuXAttribute(const CZuXAttribute& other) : m_pPrivate(CopyBody(other.m_pPrivate)) {}

CZuXAttribute& CZuXAttribute::operator=(CZuXAttribute& other) {
    return *this = static_cast<const CZuXAttribute&>(other);
}

CZuXAttribute& CZuXAttribute::operator=(const CZuXAttribute& other) {
    m_pPrivate = CopyBody(other.m_pPrivate);
    return *this;
}

CZuXAttribute::~CZuXAttribute() = default;

bool CZuXAttribute::Exists() const {
    return static_cast<bool>(m_pPrivate->Item());
}

std::string CZuXAttribute::Name() const {
    const pugi::xml_attribute& attribute = m_pPrivate->Item();
    return attribute ? std::string(attribute.name()) : std::string();
}

std::string CZuXAttribute::LocalName() const {
    return LocalPart(m_pPrivate->Item().name());
}

std::string CZuXAttribute::Prefix() const {
    return PrefixPart(m_pPrivate->Item().name());
}

std::string CZuXAttribute::NamespaceUri() const {
    const pugi::xml_attribute& attribute = m_pPrivate->Item();
    return attribute ? NamespaceOf(attribute.name(), m_pPrivate->m_element, true) : "";
}

CZuError CZuXAttribute::GetSourcePosition(unsigned long& line, unsigned long& column) const {
    const pugi::xml_attribute& attribute = m_pPrivate->Item();
    SourcePosition position{0, 0};
    const PositionLookup lookup =
        attribute ? m_pPrivate->m_pDocument->m_source.Find(attribute, position) : PositionLookup::NotInText;
    return PositionResult(
        lookup, position, line, column,
        ZU_CODE_LOCATION("CZuError CZuXAttribute::GetSourcePosition(unsigned long&, unsigned long&) const"));
}

CZuError CZuXAttribute::MoveNext() const {
    pugi::xml_attribute& attribute = m_pPrivate->Item();
    attribute = attribute.next_attribute();
    return CZuError::Success();
}

CZuError CZuXAttribute::MovePrevious() const {
    pugi::xml_attribute& attribute = m_pPrivate->Item();
    attribute = attribute.previous_attribute();
    return CZuError::Success();
}

CZuError CZuXAttribute::GetText(std::string& text) {
    return CopyText(ZU_CODE_LOCATION("CZuError CZuXAttribute::GetText(string&)"),
                    [&] { text = m_pPrivate->Item().value(); });
}

CZuError CZuXAttribute::SetText(const std::string& text) {
    return Set<String>(m_pPrivate->Item(), text, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetText(const string&)"));
}

// The typed families: each member is one call into the shared conversions.

bool CZuXAttribute::AsBOOL(bool fallback) const {
    return Bool::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsBOOL(bool& value) const {
    return GetAs<Bool>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsBOOL(bool&) const"));
}
CZuError CZuXAttribute::SetBOOL(bool value) {
    return Set<Bool>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetBOOL(bool)"));
}

double CZuXAttribute::AsDOUBLE(double fallback) const {
    return Double::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsDOUBLE(double& value) const {
    return GetAs<Double>(m_pPrivate->Item(), value,
                         ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsDOUBLE(double&) const"));
}
CZuError CZuXAttribute::SetDOUBLE(double value) {
    return Set<Double>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetDOUBLE(double)"));
}

int CZuXAttribute::AsINT(int fallback) const {
    return Int::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsINT(int& value) const {
    return GetAs<Int>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsINT(int&) const"));
}
CZuError CZuXAttribute::SetINT(int value) {
    return Set<Int>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetINT(int)"));
}

unsigned int CZuXAttribute::AsUINT(unsigned int fallback) const {
    return UInt::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsUINT(unsigned int& value) const {
    return GetAs<UInt>(m_pPrivate->Item(), value,
                       ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsUINT(unsigned int&) const"));
}
CZuError CZuXAttribute::SetUINT(unsigned int value) {
    return Set<UInt>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetUINT(unsigned int)"));
}

long long CZuXAttribute::AsLONGLONG(long long fallback) const {
    return LongLong::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsLONGLONG(long long& value) const {
    return GetAs<LongLong>(m_pPrivate->Item(), value,
                           ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsLONGLONG(long long&) const"));
}
CZuError CZuXAttribute::SetLONGLONG(long long value) {
    return Set<LongLong>(m_pPrivate->Item(), value, ZU_CODE_LOCATION("CZuError CZuXAttribute::SetLONGLONG(long long)"));
}

unsigned long long CZuXAttribute::AsULONGLONG(unsigned long long fallback) const {
    return ULongLong::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsULONGLONG(unsigned long long& value) const {
    return GetAs<ULongLong>(m_pPrivate->Item(), value,
                            ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsULONGLONG(unsigned long long&) const"));
}
CZuError CZuXAttribute::SetULONGLONG(unsigned long long value) {
    return Set<ULongLong>(m_pPrivate->Item(), value,
                          ZU_CODE_LOCATION("CZuError CZuXAttribute::SetULONGLONG(unsigned long long)"));
}

std::string CZuXAttribute::AsString() const {
    return String::Read(m_pPrivate->Item(), std::string());
}
std::string CZuXAttribute::AsString(const std::string& fallback) const {
    return String::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsString(std::string& value) const {
    return GetAs<String>(m_pPrivate->Item(), value,
                         ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsString(std::string&) const"));
}
CZuError CZuXAttribute::SetString(const std::string& value) {
    return Set<String>(m_pPrivate->Item(), value,
                       ZU_CODE_LOCATION("CZuError CZuXAttribute::SetString(const std::string&)"));
}

CTimeStamp CZuXAttribute::AsTimeStamp() const {
    return SystemTime::Read(m_pPrivate->Item(), SystemTime::Zero());
}
CTimeStamp CZuXAttribute::AsTimeStamp(CTimeStamp fallback) const {
    return SystemTime::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsTimeStamp(CTimeStamp& value) const {
    return GetAs<SystemTime>(m_pPrivate->Item(), value,
                             ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsTimeStamp(CTimeStamp&) const"));
}
CZuError CZuXAttribute::SetTimeStamp(CTimeStamp value) {
    return Set<SystemTime>(m_pPrivate->Item(), value,
                           ZU_CODE_LOCATION("CZuError CZuXAttribute::SetTimeStamp(CTimeStamp)"));
}

CTimeStamp CZuXAttribute::AsTimeStampUnixTime() const {
    return UnixTime::Read(m_pPrivate->Item(), UnixTime::Zero());
}
CTimeStamp CZuXAttribute::AsTimeStampUnixTime(CTimeStamp fallback) const {
    return UnixTime::Read(m_pPrivate->Item(), fallback);
}
CZuError CZuXAttribute::GetAsTimeStampUnixTime(CTimeStamp& value) const {
    return GetAs<UnixTime>(m_pPrivate->Item(), value,
                           ZU_CODE_LOCATION("CZuError CZuXAttribute::GetAsTimeStampUnixTime(CTimeStamp&) const"));
}
CZuError CZuXAttribute::SetTimeStampUnixTime(CTimeStamp value) {
    return Set<UnixTime>(m_pPrivate->Item(), value,
                         ZU_CODE_LOCATION("CZuError CZuXAttribute::SetTimeStampUnixTime(CTimeStamp)"));
}

// The strict reads: one call each into the shared check and conversion.

CZuError CZuXAttribute::Parse(bool& value) const {
    return ParseValue<Bool>(*m_pPrivate, value, ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(bool&) const"));
}
CZuError CZuXAttribute::Parse(double& value) const {
    return ParseValue<Double>(*m_pPrivate, value, ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(double&) const"));
}
CZuError CZuXAttribute::Parse(int& value) const {
    return ParseValue<Int>(*m_pPrivate, value, ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(int&) const"));
}
CZuError CZuXAttribute::Parse(unsigned int& value) const {
    return ParseValue<UInt>(*m_pPrivate, value, ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(unsigned int&) const"));
}
CZuError CZuXAttribute::Parse(long long& value) const {
    return ParseValue<LongLong>(*m_pPrivate, value,
                                ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(long long&) const"));
}
CZuError CZuXAttribute::Parse(unsigned long long& value) const {
    return ParseValue<ULongLong>(*m_pPrivate, value,
                                 ZU_CODE_LOCATION("CZuError CZuXAttribute::Parse(unsigned long long&) const"));
}

boost::shared_ptr<CZuXAttributePrivate> CZuXAttribute::GetPrivate() {
    return m_pPrivate;
}

boost::shared_ptr<CZuXAttributePrivate> CZuXAttribute::GetPrivate(boost::shared_ptr<CZuXAttribute> attribute) {
    return BodyOfHandle(attribute, &CZuXAttribute::GetPrivate);
}
